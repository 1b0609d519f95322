// The erase: its estimates as pure functions, and EraseDisc against the
// virtual recorder (two-session CD-RW, CD-R, empty tray) with the command
// order seen on the bus.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <unistd.h>

#include "drive/command_set.h"
#include "drive/discovery.h"
#include "drive/erase.h"
#include "drive/mode_pages.h"
#include "drive/scsi_status.h"
#include "fakes.h"
#include "vrec/inprocess_transport.h"

namespace tarvo::testing {
namespace {

namespace fs = std::filesystem;

TEST(EraseEstimate, SectorsAndSecondsPerSpeed) {
  struct Case {
    EraseMode mode;
    int32_t speed;
    int32_t lastTrackEnd;
    int32_t sectors;
    int32_t seconds;
  };
  const Case cases[] = {
      {EraseMode::Fast, 1, 0, 28800, 387},
      {EraseMode::Fast, 4, 0, 20160, 68},
      {EraseMode::LastSession, 6, 0, 17280, 39},
      {EraseMode::Fast, 8, 0, 11520, 20},
      {EraseMode::LastSession, 10, 0, 11520, 16},
      {EraseMode::Fast, 16, 0, 5760, 5},
      {EraseMode::Fast, 24, 0, 0, 1},
      // Below zero by the formula: taken as 24X's estimate, not wrapped.
      {EraseMode::Fast, 28, 0, 0, 1},
      {EraseMode::LastSession, 48, 0, 0, 1},
      // Full erase: the last track's end, whatever the speed formula says.
      {EraseMode::Full, 4, 333000, 333000, 1111},
      {EraseMode::Full, 48, 333000, 333000, 93},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << int(c.mode) << " speed " << c.speed);
    const int32_t sectors = EraseSectorEstimate(c.mode, c.speed, c.lastTrackEnd);
    EXPECT_EQ(sectors, c.sectors);
    EXPECT_EQ(EraseSecondsEstimate(sectors, c.speed), c.seconds);
  }
  EXPECT_EQ(EraseTimeText(1111), "Erasing time, about: 1111 sec, when door opens it is finished.");
}

TEST(EraseEstimate, BlankingTypes) {
  EXPECT_EQ(BlankingType(EraseMode::Full), 0x00);
  EXPECT_EQ(BlankingType(EraseMode::Fast), 0x01);
  EXPECT_EQ(BlankingType(EraseMode::LastSession), 0x06);
}

// Forwards to the bus and keeps every command block.
class RecordingTransport : public ScsiTransport {
 public:
  explicit RecordingTransport(vrec::InProcessBus& bus) : bus_(bus) {}
  int AdapterCount() override { return bus_.AdapterCount(); }
  int MaxTargets(int adapter) override { return bus_.MaxTargets(adapter); }
  int DeviceType(const DeviceAddress& d) override { return bus_.DeviceType(d); }
  uint8_t Execute(const DeviceAddress& device, const uint8_t* cdb, DataDirection direction,
                  uint8_t* buffer, uint32_t length, WaitPolicy wait,
                  const std::function<void()>& betweenSlices) override {
    sent.emplace_back(cdb, cdb + kCdbLength);
    return bus_.Execute(device, cdb, direction, buffer, length, wait, betweenSlices);
  }
  std::vector<std::vector<uint8_t>> sent;

 private:
  vrec::InProcessBus& bus_;
};

class CountingMeter : public ProgressSink {
 public:
  void Begin(int32_t steps) override { begun.push_back(steps); }
  void Step() override { ++steps; }
  void End() override { ++ended; }
  std::vector<int32_t> begun;
  int steps = 0;
  int ended = 0;
};

class EraseTest : public ::testing::Test {
 protected:
  EraseTest() {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("drive-erase-" + std::to_string(random()));
    fs::create_directories(folder_);
  }
  ~EraseTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void Open(const std::string& device) {
    std::string error;
    bus_ = vrec::InProcessBus::FromText("[device 0:1:0]\n" + device, folder_, &error);
    ASSERT_NE(bus_, nullptr) << error;
    recorder_ = std::make_unique<RecordingTransport>(*bus_);
    access_.transport = recorder_.get();
    access_.senseDumpPath = (folder_ / "request_sense_buf.txt").string();
    bus_->set_slice_limit(100000);
    ASSERT_EQ(DiscoverDrives(access_), 1);
    ASSERT_EQ(access_.driveCount, 1);
    recorder_->sent.clear();
  }

  // Drops the bus and its disc so the next Open starts from a new one.
  void TearDownDisc() {
    access_.transport = nullptr;
    recorder_.reset();
    bus_.reset();
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder_)) fs::remove_all(entry.path(), ignored);
  }

  void RecordSession(uint16_t blocks) {
    std::vector<uint8_t> mode(kModeSenseBufferSize, 0);
    const ModePageLocation page = ModeSense10(access_, mode.data(), kWriteParametersPage, 0);
    ASSERT_TRUE(page);
    ASSERT_EQ(ModeSelect10(access_, mode.data(), page, true, 0, 0), kStatusGood);
    ASSERT_EQ(ReadDiscInformation(access_, false, 0), kStatusGood);
    ASSERT_EQ(ReadTrackInformation(access_, true, access_.discInfo.nLastTrack, false, 0), kStatusGood);
    const uint32_t start = access_.trackInfo.NextWriteableAddress;
    std::vector<uint8_t> sector(kBlockSize, 0x5A);
    for (uint16_t i = 0; i < blocks; ++i) {
      ASSERT_EQ(TransferBlocks(access_, 0, kOpWrite10, sector.data(), start + i, 1), kStatusGood);
    }
    ASSERT_EQ(TransferBlocks(access_, 0, kOpSynchronizeCache, nullptr, 0, 0), kStatusGood);
    ASSERT_EQ(CloseTrackSession(access_, 0, false, 0), kStatusGood);
  }

  void TwoSessionCdRw() {
    Open("disc = disc.img\nmedia = cdrw\n");
    RecordSession(20);
    RecordSession(20);
    ASSERT_EQ(ReadDiscInformation(access_, false, 0), kStatusGood);
    // Two closed sessions and the empty one that follows them (MMC-3 5.9).
    ASSERT_EQ(access_.discInfo.nSessions, 3);
    recorder_->sent.clear();
  }

  int Erase(EraseMode mode, int32_t speed) {
    EraseSeams seams{meter_, [this] { return bus_->SimulatedMs(); }, [this] { ++paints_; }};
    startMs_ = bus_->SimulatedMs();
    paints_ = 0;
    return EraseDisc(access_, seams, mode, speed, 0);
  }

  // The disc as the drive reports it after the eject, loaded again.
  void Reload() {
    ASSERT_EQ(StartStopUnit(access_, 0, kLoadDisc), kStatusGood);
    ASSERT_EQ(ReadDiscInformation(access_, false, 0), kStatusGood);
  }

  std::vector<uint8_t> Opcodes() const {
    std::vector<uint8_t> ops;
    for (const auto& cdb : recorder_->sent) ops.push_back(cdb[0]);
    return ops;
  }
  const std::vector<uint8_t>* Find(uint8_t opcode) const {
    for (const auto& cdb : recorder_->sent) {
      if (cdb[0] == opcode) return &cdb;
    }
    return nullptr;
  }
  bool Locked() { return bus_->DeviceAt(0).locked(); }

  fs::path folder_;
  std::unique_ptr<vrec::InProcessBus> bus_;
  std::unique_ptr<RecordingTransport> recorder_;
  FakeUi ui_;
  DriveAccess access_{ui_};
  CountingMeter meter_;
  int paints_ = 0;
  uint64_t startMs_ = 0;
};

TEST_F(EraseTest, ModesOnTwoSessionCdRw) {
  struct Case {
    EraseMode mode;
    uint8_t blankingType;
    uint8_t sessionsLeft;
  };
  for (const Case c : {Case{EraseMode::Full, 0x00, 0}, Case{EraseMode::Fast, 0x01, 0},
                       Case{EraseMode::LastSession, 0x06, 1}}) {
    SCOPED_TRACE(int(c.mode));
    TearDownDisc();
    TwoSessionCdRw();
    if (HasFatalFailure()) return;
    meter_ = CountingMeter{};
    ui_.messages.clear();

    EXPECT_EQ(Erase(c.mode, 4), 1);
    EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front().text;
    EXPECT_EQ(ui_.statusText, kEraseDoneText);
    // Start, load, ready, rezero, buffer, lock, disc, track, speed, BLANK,
    // unlock, eject.
    const std::vector<uint8_t> order = {0x1B, 0x1B, 0x00, 0x01, 0x5C, 0x1E,
                                        0x51, 0x52, 0xBB, 0xA1, 0x1E, 0x1B};
    EXPECT_EQ(Opcodes(), order);
    ASSERT_NE(Find(0xA1), nullptr);
    EXPECT_EQ((*Find(0xA1))[1], c.blankingType);
    const auto& speed = *Find(0xBB);
    EXPECT_EQ((speed[2] << 8) | speed[3], 0xFFFF);
    EXPECT_EQ((speed[4] << 8) | speed[5], 4 * 176);
    EXPECT_EQ(recorder_->sent.back()[4], kEjectDisc);
    EXPECT_FALSE(Locked());

    ASSERT_EQ(meter_.begun.size(), 1u);
    EXPECT_EQ(meter_.ended, 1);
    if (c.mode != EraseMode::Full) {
      EXPECT_EQ(meter_.begun[0], 68 + 3);
    }
    // Paint dispatched after every 980 ms slice, and one step per whole
    // second elapsed by the end of the last slice.
    EXPECT_GT(paints_, 2);
    const uint64_t lastSliceMs = startMs_ + uint64_t(paints_) * kSliceMs;
    EXPECT_EQ(meter_.steps, int(lastSliceMs / 1000 - startMs_ / 1000));
    EXPECT_LT(lastSliceMs, bus_->SimulatedMs() + 1);

    Reload();
    EXPECT_EQ(access_.discInfo.nSessions, c.sessionsLeft + 1);
    if (c.sessionsLeft == 0) {
      EXPECT_EQ(access_.discInfo.DiscStatus, 0) << "blank disc";
    } else {
      EXPECT_EQ(access_.discInfo.DiscStatus, 1) << "appendable after the remaining session";
    }
  }
}

TEST_F(EraseTest, CdrRefusedAfterLockThenEjected) {
  Open("disc = disc.img\nmedia = cdr80\n");
  EXPECT_EQ(Erase(EraseMode::Fast, 4), 0);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, kNotErasableText);
  EXPECT_EQ(ui_.messages[0].caption, "Tarvo");
  EXPECT_EQ(ui_.messages[0].style, kMbIconStop);
  const std::vector<uint8_t> order = {0x1B, 0x1B, 0x00, 0x01, 0x5C, 0x1E, 0x51, 0x1E, 0x1B};
  EXPECT_EQ(Opcodes(), order);
  EXPECT_EQ(recorder_->sent[5][4] & 1, 1) << "locked before the disc is examined";
  EXPECT_EQ(recorder_->sent[7][4] & 1, 0);
  EXPECT_FALSE(Locked());
  EXPECT_TRUE(meter_.begun.empty());
}

TEST_F(EraseTest, EmptyTrayIsNotReadyAndLeavesTrayAlone) {
  Open("");
  EXPECT_EQ(Erase(EraseMode::Full, 4), 0);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, kDriveNotReadyText);
  const std::vector<uint8_t> order = {0x1B, 0x1B, 0x00};
  EXPECT_EQ(Opcodes(), order);
  EXPECT_FALSE(Locked());
}

// Every failure after the lock: its messages, and the tray unlocked and
// ejected as the last two commands.
TEST(EraseFailures, EachRowUnlocksAndEjects) {
  struct Case {
    const char* name;
    uint8_t failingOpcode;
    std::vector<std::string> messages;
    bool senseDump;
    bool meterRan;
  };
  const std::string checkCondition = ScsiStatusText(kStatusCheckCondition);
  const Case cases[] = {
      {"disc information", 0x51, {kDiscInfoErrorText, checkCondition}, true, false},
      {"track information", 0x52, {kTrackInfoErrorText, checkCondition}, false, false},
      {"set cd speed", 0xBB, {checkCondition}, false, false},
      {"blank", 0xA1, {checkCondition}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const fs::path dump = fs::temp_directory_path() / ("erase-sense-" + std::to_string(::getpid()) + ".txt");
    fs::remove(dump);
    f.access.senseDumpPath = dump.string();
    std::vector<uint8_t> discInfo(34, 0);
    discInfo[1] = 32;
    discInfo[2] = 0x10 | 0x01;  // erasable, incomplete
    discInfo[6] = 1;
    f.transport.replies[0x51] = {kStatusGood, discInfo};
    f.transport.replies[c.failingOpcode].status = kStatusCheckCondition;
    CountingMeter meter;
    uint64_t ms = 0;
    EraseSeams seams{meter, [&ms] { return ms += 500; }, {}};

    EXPECT_EQ(EraseDisc(f.access, seams, EraseMode::Fast, 4, 0), 0);
    std::vector<std::string> shown;
    for (const ShownMessage& m : f.ui.messages) {
      shown.push_back(m.text);
      EXPECT_EQ(m.style, kMbIconStop);
    }
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(fs::exists(dump), c.senseDump);
    fs::remove(dump);
    EXPECT_EQ(meter.begun.size(), c.meterRan ? 1u : 0u);
    EXPECT_EQ(meter.ended, c.meterRan ? 1 : 0);
    EXPECT_NE(f.ui.statusText, kEraseDoneText);
    ASSERT_GE(f.transport.sent.size(), 2u);
    const auto& unlock = f.transport.sent[f.transport.sent.size() - 2].cdb;
    const auto& eject = f.transport.sent.back().cdb;
    EXPECT_EQ(unlock[0], 0x1E);
    EXPECT_EQ(unlock[4], 0);
    EXPECT_EQ(eject[0], 0x1B);
    EXPECT_EQ(eject[4], kEjectDisc);
  }
}

}  // namespace
}  // namespace tarvo::testing
