// Track-at-once recording on a CD-R: what the drive accepts, and what the
// disc, track and TOC reports say at each step.
#include "vrec_test_support.h"

#include "vrec/msf.h"

namespace tarvo::vrec::testing {
namespace {

class RecordingTest : public RecorderTest {};

TEST_F(RecordingTest, BlankDiscReportsEmptyDiscAndInvisibleTrack) {
  Reply disc = DiscInfo();
  ASSERT_EQ(disc.status, 0);
  EXPECT_EQ(disc[2], 0x00);  // empty disc, empty session, not erasable
  EXPECT_EQ(disc[3], 1);
  EXPECT_EQ(disc[4], 1);
  EXPECT_EQ(disc[5], 1);
  EXPECT_EQ(disc[6], 1);
  EXPECT_EQ((std::vector<int>{disc[17], disc[18], disc[19]}), (std::vector<int>{97, 26, 66}));
  EXPECT_EQ((std::vector<int>{disc[21], disc[22], disc[23]}), (std::vector<int>{79, 59, 74}));

  Reply track = TrackInfo(1);
  ASSERT_EQ(track.status, 0);
  EXPECT_EQ(track[2], 1);
  EXPECT_EQ(track[3], 1);
  EXPECT_EQ(track[6] & 0x40, 0x40) << "blank";
  EXPECT_EQ(track[7] & 0x01, 0x01) << "NWA_V";
  EXPECT_EQ(track.U32(8), 0u);
  EXPECT_EQ(track.U32(12), 0u);
  EXPECT_EQ(track.U32(16), 359849u);
  EXPECT_EQ(TrackInfo(0xFF).U32(16), 359849u) << "FFh names the invisible track";
  EXPECT_EQ(Toc().status, 2) << "a blank disc has no TOC";
}

TEST_F(RecordingTest, WritesOnlyAtTheNextWritableAddress) {
  ASSERT_EQ(SetWriteParameters(true).status, 0);
  EXPECT_EQ(WriteBlocks(0, 4).status, 0);
  struct Case {
    uint32_t lba;
    const char* why;
  } cases[] = {{0, "rewrite"}, {3, "behind"}, {5, "gap"}, {1000, "far ahead"}};
  for (const Case& c : cases) {
    Reply r = WriteBlocks(c.lba, 1);
    EXPECT_EQ(r.status, 2) << c.why;
    EXPECT_EQ(SenseText(r.sense), "5/21/02") << c.why;
  }
  EXPECT_EQ(WriteBlocks(4, 2).status, 0);
  Reply track = TrackInfo(0xFF);
  EXPECT_EQ(track.U32(12), 6u);
  EXPECT_EQ(track.U32(16), 359849u - 6);
  EXPECT_EQ(track[6] & 0x40, 0) << "no longer blank";
}

TEST_F(RecordingTest, ThreeSessionsFollowTheLeadOutLeadInPreGapRule) {
  uint32_t first = RecordSession(20, true);
  uint32_t second = RecordSession(400, true);
  uint32_t third = RecordSession(10, true);
  EXPECT_EQ(first, 0u);
  // Session 1: 20 blocks padded to 298, plus 2 run-out = 300.
  EXPECT_EQ(second, 300u + 11400);
  EXPECT_EQ(third, second + 402 + 6900);

  Reply disc = DiscInfo();
  EXPECT_EQ(disc[2], 0x01) << "incomplete disc, empty last session";
  EXPECT_EQ(disc[4], 4);
  EXPECT_EQ(disc[5], 4);
  EXPECT_EQ(disc[6], 4);
  uint32_t next = third + 300 + 6900;
  Msf leadIn = LbaToMsf(static_cast<int32_t>(third + 300 + 2250));
  EXPECT_EQ((std::vector<int>{disc[17], disc[18], disc[19]}),
            (std::vector<int>{leadIn.minute, leadIn.second, leadIn.frame}));
  EXPECT_EQ(TrackInfo(4).U32(12), next);

  struct Expect {
    int track;
    uint32_t start, size;
  } tracks[] = {{1, 0, 300}, {2, second, 402}, {3, third, 300}};
  Reply toc = Toc();
  ASSERT_EQ(toc.status, 0);
  EXPECT_EQ(toc[2], 1);
  EXPECT_EQ(toc[3], 3);
  EXPECT_EQ(toc.U16(0), 2 + 4 * 8);
  for (const Expect& e : tracks) {
    Reply track = TrackInfo(static_cast<uint32_t>(e.track));
    EXPECT_EQ(track[3], e.track) << "one track per session";
    EXPECT_EQ(track.U32(8), e.start);
    EXPECT_EQ(track.U32(24), e.size);
    EXPECT_EQ(track[7] & 0x01, 0) << "closed tracks have no next writable address";
    EXPECT_EQ(toc.U32(4 + 8 * (e.track - 1) + 4), e.start);
    EXPECT_EQ(toc[4 + 8 * (e.track - 1) + 2], e.track);
    EXPECT_EQ(TrackInfo(e.start + 1, false)[2], e.track) << "LBA form";
  }
  EXPECT_EQ(toc[4 + 8 * 3 + 2], 0xAA);
  EXPECT_EQ(toc.U32(4 + 8 * 3 + 4), third + 300) << "lead-out of the last closed session";
}

TEST_F(RecordingTest, PaddingReadsAsZerosRunOutAndGapsDoNotRead) {
  RecordSession(20, true);
  Reply data = Read(19);
  ASSERT_EQ(data.status, 0);
  EXPECT_EQ(data[0], 19);
  Reply pad = Read(297);
  ASSERT_EQ(pad.status, 0);
  EXPECT_EQ(pad[0], 0);
  struct Case {
    uint32_t lba;
    const char* sense;
  } cases[] = {{298, "3/11/00"}, {299, "3/11/00"}, {5000, "3/11/00"}, {11700, "5/21/00"}, {400000, "5/21/00"}};
  for (const Case& c : cases) {
    Reply r = Read(c.lba);
    EXPECT_EQ(r.status, 2) << c.lba;
    EXPECT_EQ(SenseText(r.sense), c.sense) << c.lba;
  }
  Reply across = Read(296, 4);
  EXPECT_EQ(across.status, 2);
  EXPECT_EQ(across.sense.information, 298u) << "the failing block is named";
}

TEST_F(RecordingTest, ClosingWithoutMultiSessionFinalisesTheDisc) {
  RecordSession(300, false);
  Reply disc = DiscInfo();
  EXPECT_EQ(disc[2], 0x0E) << "complete disc, complete session";
  EXPECT_EQ(disc[4], 1);
  EXPECT_EQ((std::vector<int>{disc[17], disc[18], disc[19], disc[21], disc[22], disc[23]}),
            (std::vector<int>(6, 0xFF)));
  EXPECT_EQ(TrackInfo(0xFF).status, 2);
  EXPECT_EQ(TrackInfo(2).status, 2);
  Reply write = WriteBlocks(302, 1);
  EXPECT_EQ(SenseText(write.sense), "5/21/02");
  EXPECT_EQ(SenseText(CloseSession().sense), "5/2C/00");
  EXPECT_EQ(Read(0).status, 0);
}

TEST_F(RecordingTest, CloseTrackKeepsTheSessionOpenAndNextTrackFollowsThePreGap) {
  ASSERT_EQ(SetWriteParameters(true).status, 0);
  ASSERT_EQ(WriteBlocks(0, 400).status, 0);
  EXPECT_EQ(SenseText(CloseTrack(2).sense), "5/2C/00") << "not the open track";
  ASSERT_EQ(CloseTrack(1).status, 0);
  Reply disc = DiscInfo();
  EXPECT_EQ(disc[2], 0x05) << "incomplete disc, incomplete session";
  EXPECT_EQ(disc[5], 1);
  EXPECT_EQ(disc[6], 2);
  EXPECT_EQ(TrackInfo(2).U32(12), 402u + 150);
  EXPECT_EQ(Toc().status, 2) << "no closed session yet";
}

TEST_F(RecordingTest, WriteParametersPageIsCheckedAndRemembered) {
  struct Case {
    uint8_t writeType, blockType;
    bool accepted;
  } cases[] = {{0x01, 0x08, true}, {0x02, 0x08, true}, {0x00, 0x08, false},
               {0x03, 0x08, false}, {0x11, 0x08, false}, {0x01, 0x0A, false}};
  for (const Case& c : cases) {
    Reply r = SetWriteParameters(true, c.writeType, c.blockType);
    EXPECT_EQ(r.status, c.accepted ? 0 : 2) << int(c.writeType) << "/" << int(c.blockType);
    if (!c.accepted) EXPECT_EQ(SenseText(r.sense), "5/26/00");
  }
  Reply page = ModeSense(0x05);
  EXPECT_EQ(page[8 + 2], 0x02) << "the last accepted page stays";
  EXPECT_EQ(page[8 + 3], 0xC6);

  std::vector<uint8_t> noPf = {0x55, 0x00, 0, 0, 0, 0, 0, 0, 60};
  EXPECT_EQ(SenseText(Run(noPf, DataDirection::Out, 60, page.data).sense), "5/24/00") << "PF clear";
  std::vector<uint8_t> shortList = {0x55, 0x10, 0, 0, 0, 0, 0, 0, 30};
  EXPECT_EQ(SenseText(Run(shortList, DataDirection::Out, 30, page.data).sense), "5/1A/00");
}

TEST_F(RecordingTest, WriteFaultFailsAtTheChosenAddressKeepingWhatCameBefore) {
  MakeBus("fault-write-at = 5\n");
  ASSERT_EQ(SetWriteParameters(true).status, 0);
  Reply r = WriteBlocks(0, 8);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(SenseText(r.sense), "3/0C/00");
  EXPECT_EQ(r.sense.information, 5u);
  EXPECT_EQ(TrackInfo(0xFF).U32(12), 5u);
}

TEST_F(RecordingTest, StateSurvivesReopeningTheDiscStore) {
  RecordSession(20, true);
  ASSERT_EQ(SetWriteParameters(true).status, 0);
  ASSERT_EQ(WriteBlocks(11700, 3, 0x11).status, 0);
  MakeBus("", "cdr80", true);  // a new drive over the same files
  EXPECT_EQ(TrackInfo(0xFF).U32(12), 11703u);
  EXPECT_EQ(Read(11702)[0], 0x11);
  EXPECT_EQ(DiscInfo()[4], 2);
}

}  // namespace
}  // namespace tarvo::vrec::testing
