// The drive layer against the virtual recorder: discovery, the reports and
// the disc check for the discs the recorder holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "drive/command_set.h"
#include "drive/disc_query.h"
#include "drive/discovery.h"
#include "drive/mode_pages.h"
#include "fakes.h"
#include "vrec/inprocess_transport.h"

namespace tarvo::testing {
namespace {

namespace fs = std::filesystem;

class VrecTest : public ::testing::Test {
 protected:
  VrecTest() {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("drive-vrec-" + std::to_string(random()));
    fs::create_directories(folder_);
  }
  ~VrecTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Opens the bus described by `devices` and discovers its drives.
  void Discover(const std::string& devices) {
    std::string error;
    bus_ = vrec::InProcessBus::FromText("trace = trace.log\n" + devices, folder_, &error);
    ASSERT_NE(bus_, nullptr) << error;
    access_.transport = bus_.get();
    access_.senseDumpPath = (folder_ / "request_sense_buf.txt").string();
    ASSERT_EQ(DiscoverDrives(access_), 1);
  }

  void OneRecorder(const std::string& media) {
    Discover("[device 0:1:0]\ndisc = disc.img\nmedia = " + media + "\n");
    ASSERT_EQ(access_.driveCount, 1);
  }

  std::string Report(uint8_t kind) {
    ui_.infoText.clear();
    QueryDriveInfo(access_, kind, true, 0);
    return ui_.infoText;
  }

  // One multi-session recording as write preparation does it: write
  // parameters, next writable address, the blocks, flush, close the session.
  void RecordSession(uint16_t blocks) {
    std::vector<uint8_t> mode(kModeSenseBufferSize, 0);
    const ModePageLocation page = ModeSense10(access_, mode.data(), kWriteParametersPage, 0);
    ASSERT_TRUE(page);
    ASSERT_EQ(ModeSelect10(access_, mode.data(), page, true, 0, 0), kStatusGood);
    ASSERT_EQ(ReadDiscInformation(access_, false, 0), kStatusGood);
    ASSERT_EQ(ReadTrackInformation(access_, true, access_.discInfo.nLastTrack, false, 0), kStatusGood);
    ASSERT_TRUE(access_.trackInfo.isValidNextWriteAddress);
    const uint32_t start = access_.trackInfo.NextWriteableAddress;
    sessionStarts_.push_back(start);
    std::vector<uint8_t> sector(kBlockSize, 0x5A);
    for (uint16_t i = 0; i < blocks; ++i) {
      ASSERT_EQ(TransferBlocks(access_, 0, kOpWrite10, sector.data(), start + i, 1), kStatusGood);
    }
    ASSERT_EQ(TransferBlocks(access_, 0, kOpSynchronizeCache, nullptr, 0, 0), kStatusGood);
    ASSERT_EQ(CloseTrackSession(access_, 0, false, 0), kStatusGood);
  }

  static std::string Line(const std::string& report, const std::string& start) {
    const size_t at = report.find(start);
    if (at == std::string::npos) return "<missing " + start + ">";
    return report.substr(at, report.find("\r\n", at) - at);
  }

  fs::path folder_;
  std::unique_ptr<vrec::InProcessBus> bus_;
  FakeUi ui_;
  DriveAccess access_{ui_};
  std::vector<uint32_t> sessionStarts_;
};

TEST_F(VrecTest, BlankCdr) {
  OneRecorder("cdr80");
  const CdDrive& drive = access_.drives[0];
  EXPECT_TRUE(drive.canWriteCdR);
  EXPECT_TRUE(drive.canWriteCdRw);
  EXPECT_GE(drive.maxWriteSpeedKBps, 176);
  EXPECT_EQ(drive.identity.size(), 32u);

  const std::string disc = Report(kQueryDiscInfo);
  EXPECT_EQ(Line(disc, "DiscStatus"), "DiscStatus = 0");
  EXPECT_EQ(Line(disc, "StateOfLastSession"), "StateOfLastSession = 0");
  EXPECT_EQ(Line(disc, "isEraseable"), "isEraseable = NO");
  EXPECT_EQ(Line(disc, "nSessions"), "nSessions = 1");
  EXPECT_EQ(Line(disc, "nLastTrack"), "nLastTrack = 1");
  EXPECT_EQ(Line(disc, "LastPossibleLeadOut"), "LastPossibleLeadOut = 0  79, 59, 74, LBA=359849");
  // A blank disc's lead-in lies before LBA 0 and is shown as unsigned.
  EXPECT_LT(drive.leadInLba, 0);
  EXPECT_NE(Line(disc, "LastSession_LeadIn").find("LBA=" + std::to_string(uint32_t(drive.leadInLba))),
            std::string::npos);

  ui_.trackNumber = 0;
  const std::string track = Report(kQueryTrackInfo);
  EXPECT_EQ(ui_.trackNumber, 1u);
  EXPECT_EQ(Line(track, "Is Blank"), "Is Blank = YES");
  EXPECT_EQ(Line(track, "Is Valid Next Write Address"), "Is Valid Next Write Address = YES");
  EXPECT_EQ(Line(track, "NextWriteableAddress"), "NextWriteableAddress = 0");
  EXPECT_EQ(Line(track, "FreeBlocks"), "FreeBlocks = 359849");

  const std::string capabilities = Report(kQueryCapabilities);
  EXPECT_EQ(Line(capabilities, "Can write CD-R"), "Can write CD-R: YES");
  EXPECT_TRUE(ui_.messages.empty());

  EXPECT_EQ(CheckDisc(access_, 0), 1);
  EXPECT_EQ(access_.discState.writable, 1);
  EXPECT_EQ(ui_.discArrivals, 1);
  const DiscSpace space = GetDiscSpace(access_, 0);
  EXPECT_EQ(space.used, 0u);
  EXPECT_EQ(space.free, 359849u * 2048);
}

TEST_F(VrecTest, AppendableTwoSessionCdr) {
  OneRecorder("cdr80");
  RecordSession(400);
  RecordSession(300);
  ASSERT_EQ(sessionStarts_.size(), 2u);
  EXPECT_EQ(sessionStarts_[0], 0u);
  EXPECT_GT(sessionStarts_[1], 400u);

  const std::string disc = Report(kQueryDiscInfo);
  EXPECT_EQ(Line(disc, "DiscStatus"), "DiscStatus = 1");  // appendable
  EXPECT_EQ(Line(disc, "StateOfLastSession"), "StateOfLastSession = 0");
  EXPECT_EQ(Line(disc, "nSessions"), "nSessions = 3");     // two closed, one empty
  EXPECT_EQ(Line(disc, "nFirstTrack"), "nFirstTrack = 3");
  EXPECT_EQ(Line(disc, "nLastTrack"), "nLastTrack = 3");
  EXPECT_GT(access_.drives[0].leadInLba, int32_t(sessionStarts_[1]));

  ui_.trackNumber = 2;
  const std::string track = Report(kQueryTrackInfo);
  EXPECT_EQ(Line(track, "TrackNumber"), "TrackNumber = 2");
  EXPECT_EQ(Line(track, "SessionNumber"), "SessionNumber = 2");
  EXPECT_EQ(Line(track, "TrackStart"), "TrackStart = " + std::to_string(sessionStarts_[1]));

  FindLastTrackPvd(access_, 0);
  EXPECT_EQ(access_.lastTrackPvdLba, sessionStarts_[1] + 16);

  EXPECT_EQ(CheckDisc(access_, 0), 1);
  EXPECT_EQ(access_.discState.writable, 1);
  EXPECT_EQ(access_.discState.lastTrackNumber, 3);
}

TEST_F(VrecTest, CdRom) {
  OneRecorder("cdrom");
  const std::string disc = Report(kQueryDiscInfo);
  EXPECT_EQ(Line(disc, "DiscStatus"), "DiscStatus = 2");  // complete
  EXPECT_EQ(Line(disc, "isEraseable"), "isEraseable = NO");
  EXPECT_EQ(Line(disc, "nLastTrack"), "nLastTrack = 1");
  ui_.trackNumber = 7;
  const std::string track = Report(kQueryTrackInfo);
  EXPECT_EQ(ui_.trackNumber, 1u);
  EXPECT_EQ(Line(track, "Is Valid Next Write Address"), "Is Valid Next Write Address = NO");
  EXPECT_EQ(Line(track, "TrackStart"), "TrackStart = 0");
  EXPECT_EQ(ui_.viewSectorResets, std::vector<int>{0});
  EXPECT_EQ(CheckDisc(access_, 0), 1);
  EXPECT_EQ(access_.discState.writable, 0);
  FindLastTrackPvd(access_, 0);
  EXPECT_EQ(access_.lastTrackPvdLba, 16u);
}

TEST_F(VrecTest, SixDrivesFiveRecordedAndTheSixthNeverAsked) {
  std::string devices = "[adapter 0]\ntargets = 0\n[adapter 1]\ntargets = 8\n";
  devices += "[device 1:0:0]\ntype = 4\n";
  for (int t = 1; t <= 6; ++t) devices += "[device 1:" + std::to_string(t) + ":0]\n";
  Discover(devices);
  ASSERT_EQ(access_.driveCount, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(access_.drives[size_t(i)].adapterId, 1);
    EXPECT_EQ(access_.drives[size_t(i)].targetId, i + 1);
  }
  std::ifstream trace(folder_ / "trace.log");
  std::stringstream text;
  text << trace.rdbuf();
  EXPECT_EQ(text.str().find("vrec 1:6:0"), std::string::npos);
  EXPECT_EQ(text.str().find("vrec 1:0:0"), std::string::npos);
  // Per drive: INQUIRY, then the capabilities read, then SET CD SPEED.
  std::vector<std::string> names;
  for (std::string line; std::getline(text, line);) {
    std::istringstream fields(line);
    std::string tag, address, sequence, name;
    fields >> tag >> address >> sequence >> name;
    if (address == "1:3:0") names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"INQUIRY", "REZERO-UNIT", "MODE-SENSE(10)", "SET-CD-SPEED"}));
}

}  // namespace
}  // namespace tarvo::testing
