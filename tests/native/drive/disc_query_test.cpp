#include <gtest/gtest.h>

#include "drive/command_set.h"
#include "drive/disc_query.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes DiscReply(uint8_t lastTrack, uint8_t leadInMinute) {
  Bytes r(40, 0);
  r[1] = 0x20;
  r[2] = 0x01;  // appendable
  r[3] = 1;
  r[4] = lastTrack;
  r[5] = lastTrack;
  r[6] = lastTrack;
  r[17] = leadInMinute;
  return r;
}

Bytes TrackReply(uint8_t track, uint32_t start, uint32_t next, uint32_t freeBlocks, bool nwaValid) {
  Bytes r(36, 0);
  r[2] = track;
  r[7] = nwaValid ? 1 : 0;
  const uint32_t words[3] = {start, next, freeBlocks};
  for (int w = 0; w < 3; ++w) {
    for (int b = 0; b < 4; ++b) r[8 + 4 * w + b] = static_cast<uint8_t>(words[w] >> (24 - 8 * b));
  }
  return r;
}

TEST(QueryDriveInfo, DiscInformationShownOrFailed) {
  Fixture f;
  f.transport.replies[0x51] = {kStatusGood, DiscReply(1, 97)};
  EXPECT_EQ(QueryDriveInfo(f.access, kQueryDiscInfo, true, 0), 1);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x01, 0x51}));  // REZERO UNIT first
  EXPECT_EQ(f.access.discState.discReady, 1);
  EXPECT_EQ(f.ui.infoText.rfind("DiscStatus = 1\r\n", 0), 0u);
  EXPECT_EQ(f.access.drives[0].leadInLba, MsfToLba(97, 0, 0));

  f.transport.replies[0x51].status = kStatusCheckCondition;
  QueryDriveInfo(f.access, kQueryDiscInfo, true, 0);
  EXPECT_EQ(f.access.discState.discReady, 0);
  EXPECT_EQ(f.ui.infoText, "Can't read Disc Information");
  EXPECT_EQ(f.access.discInfo.nLastTrack, 1);  // records keep their last values

  f.ui.infoText = "untouched";
  QueryDriveInfo(f.access, kQueryDiscInfo, false, 0);
  EXPECT_EQ(f.ui.infoText, "untouched");
}

TEST(QueryDriveInfo, TrackNumberFromBoxFallsBackToLastTrack) {
  struct Case { uint32_t box; uint32_t used; };
  const Case cases[] = {{0, 3}, {4, 3}, {999999, 3}, {2, 2}, {3, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Fixture f;
    f.access.discInfo.nLastTrack = 3;
    f.ui.trackNumber = c.box;  // 0 also stands for text that is not a number
    f.transport.replies[0x52] = {kStatusGood, TrackReply(static_cast<uint8_t>(c.used), 100, 200, 300, true)};
    QueryDriveInfo(f.access, kQueryTrackInfo, true, 0);
    ASSERT_EQ(f.transport.sent.size(), 2u);
    EXPECT_EQ(f.transport.sent[1].cdb[5], c.used);
    EXPECT_EQ(f.transport.sent[1].cdb[1], 0x01);
    EXPECT_EQ(f.ui.trackNumbersWritten, std::vector<uint32_t>{c.used});
    EXPECT_EQ(f.ui.infoText.rfind("DataLenght = 0\r\nTrackNumber = " + std::to_string(c.used), 0), 0u);
  }
}

TEST(QueryDriveInfo, TrackFailureAndViewSectorReset) {
  Fixture f;
  f.access.discInfo.nLastTrack = 1;
  f.transport.replies[0x52] = {kStatusCheckCondition, {}};
  QueryDriveInfo(f.access, kQueryTrackInfo, true, 0);
  EXPECT_EQ(f.ui.infoText, "Can't read Track Information");
  EXPECT_TRUE(f.ui.viewSectorResets.empty());

  f.transport.replies[0x52] = {kStatusGood, TrackReply(1, 0, 0, 359849, true)};
  QueryDriveInfo(f.access, kQueryTrackInfo, false, 0);
  EXPECT_EQ(f.ui.viewSectorResets, std::vector<int>{0});
  f.transport.replies[0x52] = {kStatusGood, TrackReply(1, 16, 0, 359849, true)};
  QueryDriveInfo(f.access, kQueryTrackInfo, false, 0);
  EXPECT_EQ(f.ui.viewSectorResets.size(), 1u);
}

TEST(CheckDisc, ArrivalReadsTrackOnceThenOnlyDiscInformation) {
  Fixture f;
  f.transport.replies[0x51] = {kStatusGood, DiscReply(2, 0)};
  f.transport.replies[0x52] = {kStatusGood, TrackReply(2, 11400, 11400, 300000, true)};
  EXPECT_EQ(CheckDisc(f.access, 0), 1);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x01, 0x51, 0x52}));
  EXPECT_EQ(f.transport.sent[2].cdb[5], 2);  // nLastTrack, track-number form
  EXPECT_EQ(f.ui.discArrivals, 1);
  EXPECT_EQ(f.access.discState.writable, 1);
  EXPECT_EQ(f.access.discState.lastTrackNumber, 2);

  f.transport.sent.clear();
  EXPECT_EQ(CheckDisc(f.access, 0), 1);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x01, 0x51}));
  EXPECT_EQ(f.ui.discArrivals, 1);

  // Disc gone: everything back to no disc; its return is a new arrival.
  f.transport.replies[0x51].status = kStatusCheckCondition;
  EXPECT_EQ(CheckDisc(f.access, 0), 0);
  EXPECT_EQ(f.access.discState.writable, 0);
  EXPECT_EQ(f.access.discState.trackInfoRead, 0);
  EXPECT_EQ(f.access.discState.lastTrackNumber, 0);
  f.transport.replies[0x51].status = kStatusGood;
  f.transport.replies[0x52] = {kStatusCheckCondition, {}};
  EXPECT_EQ(CheckDisc(f.access, 0), 1);
  EXPECT_EQ(f.ui.discArrivals, 2);
  EXPECT_EQ(f.access.discState.writable, 0);  // track read failed
}

TEST(ResetDisc, SequenceAndNewArrival) {
  Fixture f;
  f.access.discState = {1, 1, 1, 2};
  EXPECT_EQ(ResetDisc(f.access, 0), 1);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x1B, 0x1E, 0x01, 0x1B}));
  EXPECT_EQ(f.transport.sent[0].cdb[4], kStopDisc);
  EXPECT_EQ(f.transport.sent[1].cdb[4], 0x00);
  EXPECT_EQ(f.transport.sent[3].cdb[4], kLoadDisc);
  EXPECT_EQ(f.ui.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(f.access.discState.discReady, 1);
  EXPECT_EQ(f.access.discState.trackInfoRead, 0);
  EXPECT_EQ(f.access.discState.writable, 0);
}

TEST(GetDiscSpace, FromNextWritableAddressAndFreeBlocks) {
  Fixture f;
  f.transport.replies[0x51] = {kStatusGood, DiscReply(2, 0)};
  f.transport.replies[0x52] = {kStatusGood, TrackReply(2, 11400, 15496, 344353, true)};
  const DiscSpace space = GetDiscSpace(f.access, 0);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x01, 0x51, 0x01, 0x52}));
  EXPECT_EQ(space.used, 15496u * 2048);
  EXPECT_EQ(space.total, (15496u + 344353u) * 2048);
  EXPECT_EQ(space.free, 344353u * 2048);
}

TEST(GetDiscSpace, ReadsTheDiscsLastTrackWhateverTheTrackFieldHolds) {
  // The field still names track 1 from the reading before a session was
  // added; track 1 is closed now and tells nothing about free space.
  Fixture f;
  f.ui.trackNumber = 1;
  f.transport.replies[0x51] = {kStatusGood, DiscReply(2, 0)};
  f.transport.replies[0x52] = {kStatusGood, TrackReply(2, 11400, 15496, 344353, true)};
  const DiscSpace space = GetDiscSpace(f.access, 0);
  ASSERT_EQ(f.transport.sent.size(), 4u);
  EXPECT_EQ(f.transport.sent[3].cdb[5], 2);  // track number form, track 2
  EXPECT_EQ(f.ui.trackNumber, 2u);           // the field shows the track read
  EXPECT_EQ(space.total, (15496u + 344353u) * 2048);
}

TEST(FindLastTrackPvd, FailedTocLeavesZero) {
  Fixture f;
  Bytes toc(2048, 0);
  toc[1] = 18;  // two descriptors
  toc[2] = 1;
  toc[3] = 1;
  toc[8 + 2] = 0x2C;  // track 1 at 0x2C00
  f.transport.replies[0x43] = {kStatusGood, toc};
  FindLastTrackPvd(f.access, 0);
  EXPECT_EQ(f.access.lastTrackPvdLba, 0x2C00u + 16);
  f.transport.replies[0x43].status = kStatusCheckCondition;
  FindLastTrackPvd(f.access, 0);
  EXPECT_EQ(f.access.lastTrackPvdLba, 0u);
}

TEST(DiscRecords, TwoDrivesQueriedOneAfterTheOther) {
  Fixture f(2);
  f.transport.replies[0x51] = {kStatusGood, DiscReply(1, 97)};
  QueryDriveInfo(f.access, kQueryDiscInfo, false, 0);
  f.transport.replies[0x51] = {kStatusGood, DiscReply(3, 2)};
  QueryDriveInfo(f.access, kQueryDiscInfo, false, 1);
  EXPECT_EQ(f.access.discInfo.nLastTrack, 3);  // the records hold the second disc
  EXPECT_EQ(f.access.drives[0].leadInLba, MsfToLba(97, 0, 0));
  EXPECT_EQ(f.access.drives[1].leadInLba, MsfToLba(2, 0, 0));
  EXPECT_EQ(f.transport.sent[1].device.targetId, 0);
  EXPECT_EQ(f.transport.sent[3].device.targetId, 1);
}

}  // namespace
}  // namespace tarvo::testing
