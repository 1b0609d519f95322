// Each command on each kind of medium, and the refusals a drive gives.
#include "vrec_test_support.h"

#include <filesystem>
#include <fstream>

#include "vrec/disc_store.h"

namespace tarvo::vrec::testing {
namespace {

class CommandsTest : public RecorderTest {};

TEST_F(CommandsTest, EveryKindAnswersTheReportCommands) {
  struct Case {
    const char* media;
    uint8_t discByte2;
    uint32_t freeBlocks;  // of the invisible track; 0 when none
    bool tocGood;
  } cases[] = {
      {"cdr80", 0x00, 359849, false},
      {"cdr74", 0x00, 337349, false},
      {"cdrw", 0x10, 359849, false},
      {"cdrom", 0x0E, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.media);
    MakeBus("", c.media);
    EXPECT_EQ(TestUnitReady().status, 0);
    EXPECT_EQ(Run({0x01, 0, 0, 0, 0, 0x80}, DataDirection::None, 0).status, 0) << "REZERO, vendor bits in control";
    Reply disc = DiscInfo();
    ASSERT_EQ(disc.status, 0);
    EXPECT_EQ(disc[2], c.discByte2);
    EXPECT_EQ(Toc().status, c.tocGood ? 0 : 2);
    Reply track = TrackInfo(1);
    ASSERT_EQ(track.status, 0);
    EXPECT_EQ(track.U32(16), c.freeBlocks);
    EXPECT_EQ(Run({0x5C, 0, 0, 0, 0, 0, 0, 0, 12}, DataDirection::In, 20).status, 0);
    EXPECT_EQ(SetSpeed(0xFFFF, 0xFFFF).status, 0);
    EXPECT_EQ(ModeSense(0x2A).status, 0);
    EXPECT_EQ(SetWriteParameters(true).status, 0);
  }
}

TEST_F(CommandsTest, PressedDiscIsReadOnly) {
  MakeBus("", "cdrom");
  EXPECT_EQ(Read(0).status, 0);
  EXPECT_EQ(SenseText(WriteBlocks(0, 1).sense), "5/30/05");
  EXPECT_EQ(SenseText(WriteBlocks(300, 1).sense), "5/30/05");
  EXPECT_EQ(SenseText(Blank(1).sense), "5/30/06");
  EXPECT_EQ(SenseText(CloseSession().sense), "5/2C/00");
}

TEST_F(CommandsTest, EmptyTrayAnswersNotReadyToMediumCommandsOnly) {
  MakeBus("", "");  // no disc was ever created
  for (std::vector<uint8_t> cdb : std::vector<std::vector<uint8_t>>{
           {0x00}, {0x01}, {0x28, 0, 0, 0, 0, 0, 0, 0, 1}, {0x51, 0, 0, 0, 0, 0, 0, 0, 0x96}, {0x43}, {0x35}}) {
    Reply r = Run(cdb, DataDirection::In, cdb[0] == 0x28 ? 2048 : 256);
    EXPECT_EQ(r.status, 2) << int(cdb[0]);
    EXPECT_EQ(SenseText(r.sense), "2/3A/00") << int(cdb[0]);
  }
  EXPECT_EQ(Run({0x12, 0, 0, 0, 96}, DataDirection::In, 100).status, 0);
  EXPECT_EQ(ModeSense(0x2A).status, 0);
  EXPECT_EQ(StartStop(0x02).status, 0);
}

TEST_F(CommandsTest, RequestSenseReturnsTheLastErrorOnceInFixedFormat) {
  Read(5);
  Reply sense = Run({0x03, 0, 0, 0, 18}, DataDirection::In, 2048);
  ASSERT_EQ(sense.status, 0);
  EXPECT_EQ(sense[0], 0xF0) << "fixed format, information valid";
  EXPECT_EQ(sense[2], 0x05);
  EXPECT_EQ(sense.U32(3), 5u);
  EXPECT_EQ(sense[7], 10);
  EXPECT_EQ(sense[12], 0x21);
  EXPECT_EQ(Run({0x03, 0, 0, 0, 18}, DataDirection::In, 2048)[2], 0) << "cleared after reporting";
  Read(5);
  Reply none = Run({0x03}, DataDirection::In, 2048);
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none[0], 0) << "allocation length 0 moves nothing";
}

TEST_F(CommandsTest, InquiryReportsTheConfiguredIdentity) {
  MakeBus("vendor = ACME\nproduct = WRITER 52X\nrevision = 2.10\ntype = 5\n");
  Reply r = Run({0x12, 0, 0, 0, 0x60}, DataDirection::In, 100);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r[0], 5);
  EXPECT_EQ(r[1], 0x80);
  EXPECT_EQ(std::string(r.data.begin() + 8, r.data.begin() + 36), "ACME    WRITER 52X      2.10");
  EXPECT_EQ(r[96], 0) << "cut to the allocation length";
  EXPECT_EQ(SenseText(Run({0x12, 1, 0x80, 0, 0x60}, DataDirection::In, 100).sense), "5/24/00") << "EVPD";
}

TEST_F(CommandsTest, LockedTrayRefusesToEject) {
  ASSERT_EQ(Prevent(true).status, 0);
  EXPECT_EQ(SenseText(StartStop(0x02).sense), "5/53/02");
  EXPECT_EQ(TestUnitReady().status, 0) << "disc still in";
  ASSERT_EQ(Prevent(false).status, 0);
  ASSERT_EQ(StartStop(0x02).status, 0);
  EXPECT_EQ(SenseText(TestUnitReady().sense), "2/3A/00");
  ASSERT_EQ(StartStop(0x03).status, 0);
  EXPECT_EQ(TestUnitReady().status, 0);
  EXPECT_EQ(SenseText(Run({0x1E, 0, 0, 0, 2}, DataDirection::In, 0).sense), "5/24/00") << "persistent prevent";
}

TEST_F(CommandsTest, MalformedCommandBlocksAreRefused) {
  struct Case {
    std::vector<uint8_t> cdb;
    const char* sense;
    const char* why;
  } cases[] = {
      {{0xFF}, "5/20/00", "unknown opcode"},
      {{0x25}, "5/20/00", "READ CAPACITY is not implemented"},
      {{0x00, 0, 0, 0, 0, 0x01}, "5/24/00", "link bit in the control byte"},
      {{0x28, 0x01, 0, 0, 0, 0, 0, 0, 1}, "5/24/00", "RelAdr"},
      {{0x5A, 0, 0x1D, 0, 0, 0, 0, 1, 0}, "5/24/00", "unsupported page"},
      {{0x5A, 0, 0xC5, 0, 0, 0, 0, 1, 0}, "5/39/00", "saved values"},
      {{0x43, 0, 0x05, 0, 0, 0, 1, 8, 0}, "5/24/00", "TOC format 5"},
      {{0x51, 0x03, 0, 0, 0, 0, 0, 0, 0x96}, "5/24/00", "disc information data type"},
      {{0x52, 0x03, 0, 0, 0, 1, 0, 0, 0x64}, "5/24/00", "address type 11b"},
      {{0x52, 0x01, 0, 0, 0, 0, 0, 0, 0x64}, "5/24/00", "track 0"},
      {{0x52, 0x01, 0, 0, 0, 9, 0, 0, 0x64}, "5/24/00", "track beyond the invisible one"},
      {{0x5B, 0, 0x03}, "5/24/00", "close function 011b"},
      {{0xBB, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}, "5/24/00", "CAV rotation"},
      {{0xA1, 0x02}, "5/24/00", "blank a track"},
      {{0x1B, 0, 0, 0, 0x10}, "5/24/00", "power condition"},
      {{0x03, 0x01}, "5/24/00", "descriptor-format sense"},
  };
  for (const Case& c : cases) {
    Reply r = Run(c.cdb, DataDirection::In, 256);
    EXPECT_EQ(r.status, 2) << c.why;
    EXPECT_EQ(SenseText(r.sense), c.sense) << c.why;
  }
}

TEST_F(CommandsTest, TwelveByteCommandsSentAsTenBytesAreAccepted) {
  MakeBus("", "cdrw");
  uint8_t speed[10] = {0xBB, 0, 0x01, 0x60, 0x02, 0xC0};
  EXPECT_EQ(bus_->ExecuteCdb(kDrive, speed, 10, DataDirection::Out, nullptr, 0), 0);
  uint8_t blank[10] = {0xA1, 0x01};
  EXPECT_EQ(bus_->ExecuteCdb(kDrive, blank, 10, DataDirection::Out, nullptr, 0), 0);
  uint8_t tur[6] = {0x00};
  EXPECT_EQ(bus_->ExecuteCdb(kDrive, tur, 6, DataDirection::None, nullptr, 0), 0) << "six-byte length";
}

TEST_F(CommandsTest, CapabilitiesPageFollowsConfigurationAndSpeedSelection) {
  MakeBus("write-cdrw = no\nmax-write-speed = 4224\nblock-descriptor = yes\n");
  Reply page = ModeSense(0x2A);
  ASSERT_EQ(page.status, 0);
  EXPECT_EQ(page.U16(6), 8) << "block descriptor length";
  const size_t p = 16;
  EXPECT_EQ(page[p], 0x2A);
  EXPECT_EQ(page.U16(0) + 2u, p + 2 + page[p + 1]);
  EXPECT_EQ(page[p + 3] & 0x03, 0x01) << "writes CD-R, not CD-RW";
  EXPECT_EQ(page.U16(p + 18), 4224);
  EXPECT_EQ(page.U16(p + 20), 4224) << "current write speed starts at the maximum";
  ASSERT_EQ(SetSpeed(0xFFFF, 1500).status, 0);
  EXPECT_EQ(ModeSense(0x2A).U16(p + 20), 1408) << "rounded down to 8X";
  Reply noDescriptor = Run({0x5A, 0x08, 0x2A, 0, 0, 0, 0, 1, 0}, DataDirection::In, 2048);
  EXPECT_EQ(noDescriptor[8], 0x2A) << "DBD set";
}

TEST_F(CommandsTest, InjectedFaults) {
  struct Case {
    const char* line;
    std::function<Reply(CommandsTest*)> command;
    const char* sense;
  } cases[] = {
      {"fault-not-ready = yes", [](CommandsTest* t) { return t->TestUnitReady(); }, "2/04/00"},
      {"fault-close = yes",
       [](CommandsTest* t) {
         t->SetWriteParameters(true);
         t->WriteBlocks(0, 1);
         return t->CloseSession();
       },
       "3/72/00"},
      {"fault-mode-select = yes", [](CommandsTest* t) { return t->SetWriteParameters(true); }, "5/26/00"},
      {"fault-set-speed = yes", [](CommandsTest* t) { return t->SetSpeed(0xFFFF, 0xFFFF); }, "5/24/00"},
      {"fault-capabilities = missing", [](CommandsTest* t) { return t->ModeSense(0x2A); }, "5/24/00"},
      {"fault-disc-info = yes", [](CommandsTest* t) { return t->DiscInfo(); }, "3/57/00"},
      {"fault-write-parameters = missing", [](CommandsTest* t) { return t->ModeSense(0x05); }, "5/24/00"},
      {"fault-blank = yes", [](CommandsTest* t) { return t->Blank(1); }, "3/51/00"},
  };
  for (const Case& c : cases) {
    MakeBus(std::string(c.line) + "\n", "cdrw");
    Reply r = c.command(this);
    EXPECT_EQ(r.status, 2) << c.line;
    EXPECT_EQ(SenseText(r.sense), c.sense) << c.line;
  }
  MakeBus("fault-capabilities = ps\nfault-write-parameters = ps\n");
  EXPECT_EQ(ModeSense(0x2A)[8], 0xAA) << "page reported with its PS bit";
  EXPECT_EQ(ModeSense(0x05)[8], 0x85);
  MakeBus("fault-write-parameters = missing\n");
  EXPECT_EQ(ModeSense(0x3F)[8], 0x2A) << "all pages: 05h left out";
}

// The disc pulled out in the middle of a WRITE: the blocks before it stay
// recorded, and from then on the tray is empty until a disc is loaded again.
TEST_F(CommandsTest, DiscRemovedDuringAWrite) {
  MakeBus("fault-removed-at = 5\n");
  SetWriteParameters(true);
  EXPECT_EQ(Prevent(true).status, 0);
  EXPECT_EQ(WriteBlocks(0, 4).status, 0);
  Reply pulled = WriteBlocks(4, 4);
  EXPECT_EQ(pulled.status, 2);
  EXPECT_EQ(SenseText(pulled.sense), "2/3A/00");
  EXPECT_EQ(SenseText(TestUnitReady().sense), "2/3A/00");
  EXPECT_EQ(SenseText(CloseSession().sense), "2/3A/00");
  EXPECT_EQ(Prevent(false).status, 0);
  EXPECT_EQ(StartStop(0x02).status, 0);
  ASSERT_NE(bus_->Find(kDrive), nullptr);
  DiscStore* store = bus_->Find(kDrive)->store();
  ASSERT_NE(store, nullptr);
  EXPECT_FALSE(store->loaded());
  EXPECT_EQ(store->disc().tracks.at(0).recorded, 5);
}

// A drive that goes bad while the program runs: the faults act from the
// moment the arming file appears until it is removed.
TEST_F(CommandsTest, FaultsActOnlyWhileTheirFileExists) {
  MakeBus("fault-disc-info = yes\nfault-set-speed = yes\nfault-armed-by = armed\n", "cdrw");
  EXPECT_EQ(DiscInfo().status, 0) << "not armed yet";
  EXPECT_EQ(SetSpeed(0xFFFF, 0xFFFF).status, 0);
  std::ofstream(temp_.path() / "armed").put('1');
  Reply failing = DiscInfo();
  EXPECT_EQ(failing.status, 2);
  EXPECT_EQ(SenseText(failing.sense), "3/57/00");
  EXPECT_EQ(SenseText(SetSpeed(0xFFFF, 0xFFFF).sense), "5/24/00") << "every fault of the drive is armed";
  EXPECT_EQ(TestUnitReady().status, 0) << "commands without a fault still work";
  std::filesystem::remove(temp_.path() / "armed");
  EXPECT_EQ(DiscInfo().status, 0) << "disarmed again";
}

TEST_F(CommandsTest, NeverFinishingCommandTimesOut) {
  MakeBus("fault-never-finish = close-track-session, A1\n", "cdrw");
  SetWriteParameters(true);
  WriteBlocks(0, 1);
  EXPECT_EQ(Run({0x5B, 0, 2}, DataDirection::Out, 256, {}, WaitPolicy::Unbounded).status, kStatusTimedOut);
  int slices = 0;
  bus_->set_slice_limit(7);
  EXPECT_EQ(Blank(1, WaitPolicy::Sliced, [&slices] { ++slices; }).status, kStatusTimedOut);
  EXPECT_EQ(slices, 7);
  EXPECT_EQ(Run({0x12, 0, 0, 0, 96}, DataDirection::In, 100).status, 0);
}

TEST_F(CommandsTest, DataPhaseMismatchIsAnAbortedCommand) {
  Reply wrongDirection = Run({0x12, 0, 0, 0, 96}, DataDirection::Out, 100);
  EXPECT_EQ(SenseText(wrongDirection.sense), "B/4B/00");
  SetWriteParameters(true);
  std::vector<uint8_t> cdb = {0x2A, 0, 0, 0, 0, 0, 0, 0, 2};
  Reply shortBuffer = Run(cdb, DataDirection::Out, 2048);
  EXPECT_EQ(SenseText(shortBuffer.sense), "B/4B/00");
  EXPECT_EQ(TrackInfo(0xFF).U32(12), 0u) << "nothing recorded";
}

TEST_F(CommandsTest, TraceHasOneLinePerCommand) {
  TestUnitReady();
  Read(9);
  std::string trace = ReadFile(temp_.path() / "trace.log");
  EXPECT_NE(trace.find("vrec 0:1:0 #1 TEST-UNIT-READY cdb=00010000000000000000 dir=none len=0 xfer=0 "
                       "status=00 sense=0/00/00\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("vrec 0:1:0 #2 READ(10) cdb=28000000000900000100 dir=in len=2048 xfer=0 "
                       "status=02 sense=5/21/00\n"),
            std::string::npos)
      << trace;
}

}  // namespace
}  // namespace tarvo::vrec::testing
