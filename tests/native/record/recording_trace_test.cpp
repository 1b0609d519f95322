// The commands a disc recording sends, read from the virtual recorder's
// trace: the preparation in its order, the write parameters for every
// combination of multi-session and copy, one WRITE(10) of one block per
// sector from the next writable address, and the closing sequence.
#include <sstream>

#include "drive/mode_pages.h"
#include "iso/recorder_texts.h"
#include "record_fixture.h"

namespace tarvo::test {
namespace {

struct WriteParametersCase {
  bool multiSession;
  bool copyFlag;
  uint8_t byte3;
};

class RecordingTraceTest : public RecordingFixture, public ::testing::WithParamInterface<WriteParametersCase> {};

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

TEST_P(RecordingTraceTest, PreparesWritesEverySectorOnceAndClosesTheSession) {
  const WriteParametersCase c = GetParam();
  WriteBytes(Source("a.txt"), Pattern(5000, 1));
  WriteBytes(Source("b.bin"), Pattern(70000, 2));
  WriteList({File(0, "a.txt", 5000, SourceDir()), File(0, "b.bin", 70000, SourceDir())});
  ASSERT_EQ(RecordDisc(c.multiSession, c.copyFlag, 8 * 176), 1) << ::testing::PrintToString(user.Texts());
  EXPECT_TRUE(user.shown.empty()) << user.shown[0].text;
  EXPECT_EQ(user.LastStatus(), texts::kDiscRecorded);

  const std::vector<TracedCommand> trace = RecordingTrace();
  std::vector<std::string> names;
  for (const TracedCommand& t : trace) names.push_back(t.name);
  const std::vector<std::string> preparation = {
      "START-STOP-UNIT", "START-STOP-UNIT", "TEST-UNIT-READY", "REZERO-UNIT", "READ-DISC-INFORMATION",
      "READ-TRACK-INFORMATION", "MODE-SENSE(10)", "MODE-SELECT(10)", "SET-CD-SPEED", "PREVENT-ALLOW"};
  ASSERT_GT(trace.size(), preparation.size() + 4);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 10), preparation);
  EXPECT_EQ(trace[0].cdb[4], kStartDisc);
  EXPECT_EQ(trace[1].cdb[4], kLoadDisc);
  EXPECT_EQ(trace[2].cdb[1], 0x01);
  EXPECT_EQ(trace[5].cdb[1], 0x01) << "track-number form";
  EXPECT_EQ(trace[5].cdb[5], 1) << "the last track: the blank disc's invisible track 1";
  EXPECT_EQ(trace[6].cdb[2], 0x05);
  EXPECT_EQ(trace[7].cdb[1], 0x10) << "page format";
  EXPECT_EQ(trace[8].cdb[2] << 8 | trace[8].cdb[3], 0xFFFF);
  EXPECT_EQ(trace[8].cdb[4] << 8 | trace[8].cdb[5], 8 * 176);
  EXPECT_EQ(trace[9].cdb[4], 1) << "medium locked";

  // 16 + 3 + 2 x (root directory + L + M path table) + 3 + 35 data sectors.
  const size_t firstWrite = preparation.size();
  const size_t closing = trace.size() - 4;
  const uint32_t sectors = uint32_t(closing - firstWrite);
  EXPECT_EQ(sectors, 19u + 6u + 3u + 35u);
  EXPECT_EQ(progress.begun, sectors);
  EXPECT_EQ(progress.stepped, sectors);
  EXPECT_EQ(progress.ended, 1);
  for (uint32_t i = 0; i < sectors; ++i) {
    const TracedCommand& w = trace[firstWrite + i];
    ASSERT_EQ(w.name, "WRITE(10)") << i;
    ASSERT_EQ(Be32(w.cdb, 2), i) << "strictly ascending from the blank disc's next writable address 0";
    ASSERT_EQ(w.cdb[7] << 8 | w.cdb[8], 1);
    ASSERT_EQ(w.status, "00");
  }
  EXPECT_EQ(names[closing], "SYNCHRONIZE-CACHE");
  EXPECT_EQ(names[closing + 1], "CLOSE-TRACK-SESSION");
  EXPECT_EQ(trace[closing + 1].cdb[2], 0x02) << "close session";
  EXPECT_EQ(trace[closing + 1].cdb[5], 0);
  EXPECT_EQ(names[closing + 2], "PREVENT-ALLOW");
  EXPECT_EQ(trace[closing + 2].cdb[4], 0) << "unlocked";
  EXPECT_EQ(names[closing + 3], "START-STOP-UNIT");
  EXPECT_EQ(trace[closing + 3].cdb[4], kEjectDisc);
  EXPECT_FALSE(Device().locked());

  // The page the drive keeps holds what the preparation sent.
  StartStopUnit(*access, 0, kLoadDisc);
  std::vector<uint8_t> modeData(kModeSenseBufferSize, 0);
  const ModePageLocation page = ModeSense10(*access, modeData.data(), kWriteParametersPage, 0);
  ASSERT_TRUE(page);
  EXPECT_EQ(modeData[page.offset + 2], 0x01) << "track at once";
  EXPECT_EQ(modeData[page.offset + 3], c.byte3);
  EXPECT_EQ(modeData[page.offset + 4], 0x08) << "Mode 1";

  // The disc stays open for a next session only with multi-session.
  ASSERT_EQ(ReadDiscInformation(*access, false, 0), kStatusGood);
  EXPECT_EQ(access->discInfo.DiscStatus, c.multiSession ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(FourCombinations, RecordingTraceTest,
                         ::testing::Values(WriteParametersCase{true, false, 0xC6}, WriteParametersCase{true, true, 0xD6},
                                           WriteParametersCase{false, false, 0x46},
                                           WriteParametersCase{false, true, 0x56}));

}  // namespace
}  // namespace tarvo::test
