// A recorder of the virtual kind on an in-process bus, the drive layer over
// it with a scripted user, and helpers to build compilations, record them
// through RecordCompilation and read the command trace back.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "drive/command_set.h"
#include "drive/disc_query.h"
#include "drive/drive_ui.h"
#include "iso/recording_entry.h"
#include "vrec/inprocess_transport.h"
#include "../iso/list_builder.h"
#include "../iso/recorder_fakes.h"

namespace tarvo::test {

namespace fs = std::filesystem;

struct Shown {
  std::string text;
  std::string caption;
  unsigned style;
};

// Records every message box and status text; questions are answered from
// `answers` (Yes when it runs out).
class ScriptedUser : public UserInterface {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    if ((style & 0x0F) != kMbYesNo) return kIdOk;
    if (answers.empty()) return kIdYes;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetStatusText(const std::string& text) override { status.push_back(text); }
  void SetInfoText(const std::string& text) override { info = text; }
  uint32_t GetTrackNumber() override { return 0; }
  void SetTrackNumber(uint32_t) override {}
  void NotifyDiscArrived() override {}
  void ResetViewSector(int) override {}
  void SetBusy(bool) override {}

  std::string LastStatus() const { return status.empty() ? "" : status.back(); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) texts.push_back(s.text);
    return texts;
  }

  std::vector<Shown> shown;
  std::vector<std::string> status;
  std::string info;
  std::deque<int> answers;
};

// One parsed line of the virtual recorder's trace.
struct TracedCommand {
  std::string name;
  std::vector<uint8_t> cdb;
  std::string status;
};

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string Pattern(size_t n, int seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = char(i * 13 + seed * 7 + i / 509);
  return s;
}

class RecordingFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() /
          (std::string("tarvo-record-") + info->test_suite_name() + "-" + info->name() + "-" +
           std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir / "program");
    fs::create_directories(dir / "src");
    MakeBus("");
  }
  void TearDown() override {
    access.reset();
    bus.reset();
    if (!HasFailure()) fs::remove_all(dir);
  }

  // A new bus over the same disc file; `deviceLines` adds device keys.
  void MakeBus(const std::string& deviceLines) {
    access.reset();
    bus.reset();
    std::string error;
    bus = vrec::InProcessBus::FromText(
        "trace = trace.log\n[device 0:1:0]\ndisc = disc.img\nmedia = cdr80\nmirror = mirror\n" + deviceLines, dir,
        &error);
    ASSERT_NE(bus, nullptr) << error;
    access = std::make_unique<DriveAccess>(user);
    access->transport = bus.get();
    access->driveCount = 1;
    access->drives[0].targetId = 1;
  }
  vrec::Device& Device() { return bus->DeviceAt(0); }
  fs::path DiscPath() const { return dir / "disc.img"; }

  // Writes the list file of the compilation.
  void WriteList(const std::vector<TestEntry>& entries) {
    listPath = (dir / "program" / "defiso01.dat").string();
    WriteBytes(listPath, ListBytes(entries));
  }
  std::string Source(const std::string& relative) const { return (dir / "src" / relative).string(); }
  std::string SourceDir() const { return (dir / "src").string() + "/"; }

  // Reads the table of contents as the main dialog does, then records onto
  // the disc.
  int RecordDisc(bool multiSession, bool copyFlag = false, uint32_t speed = 4 * 176) {
    InsertDisc();
    FindLastTrackPvd(*access, 0);
    traceMark = TraceLines().size();
    RecordingCall call;
    call.label = "disc";
    call.writeSpeedKBps = speed;
    call.multiSession = multiSession ? 1 : 0;
    call.copyFlag = copyFlag ? 1 : 0;
    return Record(call);
  }
  int RecordImage(const std::string& name, bool includeFileData, uint64_t freeBytes = uint64_t(1) << 40,
                  uint32_t used = 1 << 20) {
    RecordingCall call;
    call.label = "image";
    call.imageFileName = name;
    call.includeFileData = includeFileData ? 1 : 0;
    this->used = used;
    this->freeBytes = freeBytes;
    return Record(call);
  }
  int Record(RecordingCall& call) {
    RecordingServices services(*access, progress);
    services.programDir = (dir / "program").string();
    services.used = used;
    services.listPath = listPath;
    const uint64_t free = freeBytes;
    services.freeSpace = [free](const std::string&) { return free; };
    return RecordCompilation(call, services);
  }

  std::vector<std::string> TraceLines() const {
    std::ifstream in(dir / "trace.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The commands since the last RecordDisc started.
  std::vector<TracedCommand> RecordingTrace() const {
    std::vector<TracedCommand> commands;
    const std::vector<std::string> lines = TraceLines();
    for (size_t i = traceMark; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      TracedCommand c;
      const size_t hash = line.find(" #");
      const size_t nameAt = line.find(' ', hash + 1) + 1;
      const size_t cdbAt = line.find(" cdb=");
      c.name = line.substr(nameAt, cdbAt - nameAt);
      const size_t hexAt = cdbAt + 5;
      const size_t hexEnd = line.find(' ', hexAt);
      for (size_t k = hexAt; k + 1 < hexEnd; k += 2)
        c.cdb.push_back(uint8_t(std::stoul(line.substr(k, 2), nullptr, 16)));
      const size_t statusAt = line.find("status=") + 7;
      c.status = line.substr(statusAt, 2);
      commands.push_back(c);
    }
    return commands;
  }

  // READ TRACK INFORMATION of the invisible track: where the next session starts.
  // A recording ejects the disc; the user puts it back in.
  void InsertDisc() { StartStopUnit(*access, 0, kLoadDisc); }

  uint32_t NextWritableAddress() {
    InsertDisc();
    EXPECT_EQ(ReadDiscInformation(*access, false, 0), kStatusGood);
    EXPECT_EQ(ReadTrackInformation(*access, true, access->discInfo.nLastTrack, false, 0), kStatusGood);
    return access->trackInfo.NextWriteableAddress;
  }

  fs::path dir;
  ScriptedUser user;
  CountingProgress progress;
  std::unique_ptr<vrec::InProcessBus> bus;
  std::unique_ptr<DriveAccess> access;
  std::string listPath;
  uint32_t used = 1 << 20;
  uint64_t freeBytes = uint64_t(1) << 40;
  size_t traceMark = 0;
};

}  // namespace tarvo::test
