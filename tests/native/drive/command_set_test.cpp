#include <gtest/gtest.h>

#include "drive/command_set.h"
#include "drive/mode_pages.h"
#include "drive/scsi_status.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;

struct CommandCase {
  const char* name;
  std::function<void(DriveAccess&)> run;
  Bytes cdb;
  DataDirection direction;
  uint32_t length;
  bool hasBuffer;
  WaitPolicy wait;
};

uint8_t g_sector[4 * 2048];

std::vector<CommandCase> Cases() {
  using D = DataDirection;
  using W = WaitPolicy;
  return {
      {"TestUnitReady", [](DriveAccess& a) { TestUnitReady(a, 0, 0x01); },
       {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, D::None, 0, false, W::Bounded},
      {"RezeroUnit", [](DriveAccess& a) { RezeroUnit(a, 0); },
       {0x01, 0, 0, 0, 0, 0x80, 0, 0, 0, 0}, D::None, 0, false, W::Bounded},
      {"RequestSense", [](DriveAccess& a) { RequestSense(a, 0); },
       {0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0}, D::In, 2048, true, W::Bounded},
      {"Inquiry", [](DriveAccess& a) { Inquiry(a, 0); },
       {0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0}, D::In, 100, true, W::Bounded},
      {"StartStopUnit eject", [](DriveAccess& a) { StartStopUnit(a, 0, kEjectDisc); },
       {0x1B, 0, 0, 0, 0x02, 0, 0, 0, 0, 0}, D::None, 0, false, W::Bounded},
      {"StartStopUnit load", [](DriveAccess& a) { StartStopUnit(a, 0, kLoadDisc); },
       {0x1B, 0, 0, 0, 0x03, 0, 0, 0, 0, 0}, D::None, 0, false, W::Bounded},
      {"Prevent removal", [](DriveAccess& a) { PreventAllowMediumRemoval(a, 0, true); },
       {0x1E, 0, 0, 0, 0x01, 0, 0, 0, 0, 0}, D::In, 0, false, W::Bounded},
      {"Allow removal", [](DriveAccess& a) { PreventAllowMediumRemoval(a, 0, false); },
       {0x1E, 0, 0, 0, 0x00, 0, 0, 0, 0, 0}, D::In, 0, false, W::Bounded},
      {"READ(10)", [](DriveAccess& a) { TransferBlocks(a, 0, kOpRead10, g_sector, 0x01020304, 1); },
       {0x28, 0, 0x01, 0x02, 0x03, 0x04, 0, 0x00, 0x01, 0}, D::In, 2048, true, W::Unbounded},
      {"WRITE(10)", [](DriveAccess& a) { TransferBlocks(a, 0, kOpWrite10, g_sector, 0x0005A0B1, 3); },
       {0x2A, 0, 0x00, 0x05, 0xA0, 0xB1, 0, 0x00, 0x03, 0}, D::Out, 3 * 2048, true, W::Unbounded},
      {"SYNCHRONIZE CACHE",
       [](DriveAccess& a) { TransferBlocks(a, 0, kOpSynchronizeCache, nullptr, 77, 5); },
       {0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}, D::Out, 0, false, W::Unbounded},
      {"ReadToc", [](DriveAccess& a) { ReadToc(a, 0); },
       {0x43, 0, 0, 0, 0, 0, 0x01, 0x08, 0x00, 0}, D::In, 2048, true, W::Bounded},
      {"ReadDiscInformation", [](DriveAccess& a) { ReadDiscInformation(a, false, 0); },
       {0x51, 0, 0, 0, 0, 0, 0, 0x00, 0x96, 0}, D::In, 256, true, W::Bounded},
      {"ReadTrackInformation track", [](DriveAccess& a) { ReadTrackInformation(a, true, 3, false, 0); },
       {0x52, 0x01, 0, 0, 0, 0x03, 0, 0x00, 0x64, 0}, D::In, 100, true, W::Bounded},
      {"ReadTrackInformation LBA",
       [](DriveAccess& a) { ReadTrackInformation(a, false, 0x00ABCDEF, false, 0); },
       {0x52, 0x00, 0x00, 0xAB, 0xCD, 0xEF, 0, 0x00, 0x64, 0}, D::In, 100, true, W::Bounded},
      {"ModeSense10", [](DriveAccess& a) { uint8_t b[2048] = {}; ModeSense10(a, b, 0x2A, 0); },
       {0x5A, 0, 0x2A, 0, 0, 0, 0, 0x01, 0x00, 0}, D::In, 2048, true, W::Bounded},
      {"ModeSelect10",
       [](DriveAccess& a) { uint8_t b[2048] = {}; ModeSelect10(a, b, {8, 0x3C}, false, 0, 0); },
       {0x55, 0x10, 0, 0, 0, 0, 0, 0x00, 0x3C, 0}, D::Out, 0x3C, true, W::Unbounded},
      {"Close track", [](DriveAccess& a) { CloseTrackSession(a, 0, true, 7); },
       {0x5B, 0, 0x01, 0, 0, 0x07, 0, 0, 0, 0}, D::Out, 256, true, W::Unbounded},
      {"Close session", [](DriveAccess& a) { CloseTrackSession(a, 0, false, 0); },
       {0x5B, 0, 0x02, 0, 0, 0x00, 0, 0, 0, 0}, D::Out, 256, true, W::Unbounded},
      {"ReadBufferCapacity", [](DriveAccess& a) { ReadBufferCapacity(a, 0); },
       {0x5C, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0}, D::In, 20, true, W::Bounded},
      {"Blank minimal", [](DriveAccess& a) { Blank(a, 0, 0x01, {}); },
       {0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, D::Out, 0, false, W::Sliced},
      {"Blank last session", [](DriveAccess& a) { Blank(a, 0, 0x05, {}); },
       {0xA1, 0x05, 0, 0, 0, 0, 0, 0, 0, 0}, D::Out, 0, false, W::Sliced},
      {"SetCdSpeed", [](DriveAccess& a) { SetCdSpeed(a, 0, 0xFFFF, 8 * 176); },
       {0xBB, 0, 0xFF, 0xFF, 0x05, 0x80, 0, 0, 0, 0}, D::Out, 0, false, W::Bounded},
  };
}

TEST(CommandSet, EveryCommandBlockDirectionBufferAndWait) {
  for (const CommandCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.access.senseDumpPath = ::testing::TempDir() + "sense_from_table.txt";
    c.run(f.access);
    ASSERT_EQ(f.transport.sent.size(), 1u);
    const SentCommand& sent = f.transport.sent[0];
    EXPECT_EQ(sent.cdb, c.cdb);
    EXPECT_EQ(sent.direction, c.direction);
    EXPECT_EQ(sent.length, c.length);
    EXPECT_EQ(sent.hasBuffer, c.hasBuffer);
    EXPECT_EQ(sent.wait, c.wait);
  }
}

TEST(CommandSet, StatusIsReturnedUnchanged) {
  Fixture f;
  f.transport.replies[0x00] = {kStatusCheckCondition, {}};
  EXPECT_EQ(TestUnitReady(f.access, 0, 1), kStatusCheckCondition);
  f.transport.replies[0xBB] = {0x08, {}};
  EXPECT_EQ(SetCdSpeed(f.access, 0, 0xFFFF, 0xFFFF), 0x08);
}

TEST(CommandSet, TransferBlocksTakesOnlyItsThreeOpcodes) {
  Fixture f;
  EXPECT_EQ(TransferBlocks(f.access, 0, 0xA8, g_sector, 0, 1), kStatusRequestRefused);
  EXPECT_TRUE(f.transport.sent.empty());
}

TEST(CommandSet, CommandsGoOnlyToDiscoveredDrives) {
  Fixture f(2);
  EXPECT_EQ(TestUnitReady(f.access, 2, 1), kStatusNoSuchDrive);
  EXPECT_EQ(TestUnitReady(f.access, -1, 1), kStatusNoSuchDrive);
  EXPECT_EQ(Inquiry(f.access, 4), kStatusNoSuchDrive);
  EXPECT_TRUE(f.transport.sent.empty());
  EXPECT_EQ(TestUnitReady(f.access, 1, 1), kStatusGood);
  ASSERT_EQ(f.transport.sent.size(), 1u);
  EXPECT_EQ(f.transport.sent[0].device.targetId, 1);
}

TEST(CommandSet, InquiryIdentityIsBytes8To39AsReturned) {
  Fixture f;
  Bytes reply(96, 0);
  const std::string identity = "VIRTUAL CD-RW RECORDER  1.0 2026";  // 32 bytes with blanks kept
  std::memcpy(reply.data() + 8, identity.data(), 32);
  reply.push_back('X');  // byte 96 beyond the identity stays out
  f.transport.replies[0x12] = {kStatusGood, reply};
  EXPECT_EQ(Inquiry(f.access, 0), kStatusGood);
  EXPECT_EQ(f.access.drives[0].identity, identity);

  reply[8 + 5] = 0;  // a NUL ends the identity at the NUL itself
  f.transport.replies[0x12] = {kStatusGood, reply};
  Inquiry(f.access, 0);
  EXPECT_EQ(f.access.drives[0].identity, "VIRTU");

  f.transport.replies[0x12] = {kStatusCheckCondition, reply};
  f.access.drives[0].identity = "kept";
  EXPECT_EQ(Inquiry(f.access, 0), kStatusCheckCondition);
  EXPECT_EQ(f.access.drives[0].identity, "kept");
}

}  // namespace
}  // namespace tarvo::testing
