// BLANK on a CD-RW: what each blanking type leaves, and how long it takes.
#include "vrec_test_support.h"

namespace tarvo::vrec::testing {
namespace {

class BlankTest : public RecorderTest {
 public:
  void SetUp() override { MakeBus("", "cdrw"); }
};

TEST_F(BlankTest, BlankingTypesLeaveTheExpectedDisc) {
  struct Case {
    uint8_t type;
    uint8_t discByte2;  // erasable bit, last session state, disc status
    int sessions;
    int32_t nextWritable;
  } cases[] = {
      {0x00, 0x10, 1, 0},
      {0x01, 0x10, 1, 0},
      {0x05, 0x15, 2, 300 + 11400 + 302 + 150},  // session 2 open again after its track
      {0x06, 0x11, 2, 300 + 11400},              // session 2 gone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.type));
    MakeBus("", "cdrw");
    RecordSession(10, true);
    RecordSession(300, true);
    ASSERT_EQ(Blank(c.type).status, 0);
    Reply disc = DiscInfo();
    EXPECT_EQ(disc[2], c.discByte2);
    EXPECT_EQ(disc[4], c.sessions);
    EXPECT_EQ(TrackInfo(0xFF).U32(12), static_cast<uint32_t>(c.nextWritable));
  }
}

TEST_F(BlankTest, UncloseReopensAFinalisedDisc) {
  RecordSession(10, false);
  ASSERT_EQ(DiscInfo()[2], 0x1E);
  ASSERT_EQ(Blank(0x05).status, 0);
  EXPECT_EQ(DiscInfo()[2], 0x15);
  ASSERT_EQ(SetWriteParameters(true).status, 0);
  EXPECT_EQ(WriteBlocks(300 + 150, 1).status, 0) << "a second track in the reopened session";
}

TEST_F(BlankTest, BlankedSectorsNoLongerRead) {
  RecordSession(10, true);
  ASSERT_EQ(Read(3).status, 0);
  ASSERT_EQ(Blank(0x01).status, 0);
  EXPECT_EQ(SenseText(Read(3).sense), "5/21/00");
  EXPECT_EQ(Toc().status, 2);
  EXPECT_EQ(SenseText(Blank(0x06).sense), "5/2C/00") << "nothing left to blank";
}

TEST_F(BlankTest, DurationScalesWithWorkAndSpeed) {
  // Full blank at 4X: (359849 + 4500 + 6750) blocks at 300 blocks/s = 1236.99 s.
  ASSERT_EQ(SetSpeed(0xFFFF, 4 * 176).status, 0);
  int slices = 0;
  uint64_t before = bus_->SimulatedMs();
  ASSERT_EQ(Blank(0x00, WaitPolicy::Sliced, [&slices] { ++slices; }).status, 0);
  EXPECT_EQ(bus_->SimulatedMs() - before, 1236996u);
  EXPECT_EQ(slices, 1236996 / 980);
  slices = 0;
  ASSERT_EQ(SetSpeed(0xFFFF, 0xFFFF).status, 0);
  ASSERT_EQ(Blank(0x01, WaitPolicy::Sliced, [&slices] { ++slices; }).status, 0);
  EXPECT_EQ(slices, (11400 * 1000 / (75 * 40)) / 980) << "minimal blank at 40X";
  MakeBus("time-scale = 0.001\n", "cdrw");
  slices = 0;
  ASSERT_EQ(Blank(0x00, WaitPolicy::Sliced, [&slices] { ++slices; }).status, 0);
  EXPECT_EQ(slices, 0) << "time scale shortens the wait";
  EXPECT_EQ(Blank(0x00, WaitPolicy::Bounded).status, 0);
}

TEST_F(BlankTest, CdrRefusesBlank) {
  MakeBus("", "cdr80");
  RecordSession(10, true);
  Reply r = Blank(0x01);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(SenseText(r.sense), "5/30/06");
  EXPECT_EQ(Read(0).status, 0) << "nothing erased";
}

}  // namespace
}  // namespace tarvo::vrec::testing
