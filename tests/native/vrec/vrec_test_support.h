// A temporary folder with an in-process bus, and one helper per command as
// an initiator sends it, so tests read as command sequences.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "vrec/cdb.h"
#include "vrec/inprocess_transport.h"

namespace tarvo::vrec::testing {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vrec-test-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

struct Reply {
  uint8_t status = 0xFF;
  std::vector<uint8_t> data;
  Sense sense;
  uint8_t operator[](size_t i) const { return data[i]; }
  uint16_t U16(size_t i) const { return Get16(&data[i]); }
  uint32_t U32(size_t i) const { return Get32(&data[i]); }
};

// One recorder at 0:1:0 holding a disc of the given kind.
class RecorderTest : public ::testing::Test {
 public:
  const DeviceAddress kDrive{0, 1, 0};

  // Each call inserts a new disc unless `sameDisc`.
  void MakeBus(const std::string& extraDeviceLines, const std::string& media = "cdr80", bool sameDisc = false) {
    bus_.reset();
    if (!sameDisc) ++discNumber_;
    discPath_ = temp_.path() / ("disc" + std::to_string(discNumber_) + ".img");
    std::string error;
    std::string text = "trace = trace.log\n[device 0:1:0]\ndisc = " + discPath_.filename().string() + "\n";
    if (!media.empty()) text += "media = " + media + "\n";
    text += extraDeviceLines;
    bus_ = InProcessBus::FromText(text, temp_.path(), &error);
    ASSERT_NE(bus_, nullptr) << error;
  }
  void SetUp() override { MakeBus(""); }

  Reply Run(std::vector<uint8_t> cdb, DataDirection direction, uint32_t length,
            const std::vector<uint8_t>& out = {}, WaitPolicy wait = WaitPolicy::Bounded,
            const std::function<void()>& betweenSlices = {}) {
    Reply reply;
    reply.data = out;
    reply.data.resize(length, 0);
    cdb.resize(10, 0);
    reply.status = bus_->Execute(kDrive, cdb.data(), direction, reply.data.empty() ? nullptr : reply.data.data(),
                                 length, wait, betweenSlices);
    reply.sense = bus_->LastSense();
    return reply;
  }

  Reply TestUnitReady() { return Run({0x00, 0x01}, DataDirection::None, 0); }
  Reply StartStop(uint8_t mode) { return Run({0x1B, 0, 0, 0, mode}, DataDirection::None, 0); }
  Reply Prevent(bool prevent) { return Run({0x1E, 0, 0, 0, uint8_t(prevent)}, DataDirection::In, 0); }
  Reply DiscInfo() { return Run({0x51, 0, 0, 0, 0, 0, 0, 0x00, 0x96}, DataDirection::In, 256); }
  Reply TrackInfo(uint32_t value, bool byNumber = true) {
    std::vector<uint8_t> cdb = {0x52, uint8_t(byNumber ? 1 : 0), 0, 0, 0, 0, 0, 0x00, 0x64};
    Put32(&cdb[2], value);
    return Run(cdb, DataDirection::In, 100);
  }
  Reply Toc(bool msf = false) {
    return Run({0x43, uint8_t(msf ? 2 : 0), 0, 0, 0, 0, 1, 0x08, 0x00}, DataDirection::In, 2048);
  }
  Reply ModeSense(uint8_t page) { return Run({0x5A, 0, page, 0, 0, 0, 0, 0x01, 0x00}, DataDirection::In, 2048); }
  // Edits page 05h as a TAO recorder does and sends it back.
  Reply SetWriteParameters(bool multiSession, uint8_t writeType = 0x01, uint8_t dataBlockType = 0x08) {
    Reply sense = ModeSense(0x05);
    EXPECT_EQ(sense.status, 0);
    size_t total = sense.U16(0) + 2u;
    size_t page = 8 + sense.U16(6);
    std::vector<uint8_t> data(sense.data.begin(), sense.data.begin() + static_cast<long>(total));
    data[page + 2] = writeType;
    data[page + 3] = multiSession ? 0xC6 : 0x46;
    data[page + 4] = dataBlockType;
    for (size_t i = page + 5; i < total; ++i) data[i] = 0;
    return Run({0x55, 0x10, 0, 0, 0, 0, 0, 0, uint8_t(total)}, DataDirection::Out,
               static_cast<uint32_t>(total), data);
  }
  Reply Write(uint32_t lba, const std::vector<uint8_t>& sectors) {
    uint16_t count = static_cast<uint16_t>(sectors.size() / 2048);
    std::vector<uint8_t> cdb = {0x2A, 0, 0, 0, 0, 0, 0, 0, 0};
    Put32(&cdb[2], lba);
    Put16(&cdb[7], count);
    return Run(cdb, DataDirection::Out, static_cast<uint32_t>(sectors.size()), sectors);
  }
  Reply WriteBlocks(uint32_t lba, uint16_t count, uint8_t fill = 0xA5) {
    return Write(lba, std::vector<uint8_t>(count * 2048u, fill));
  }
  Reply Read(uint32_t lba, uint16_t count = 1) {
    std::vector<uint8_t> cdb = {0x28, 0, 0, 0, 0, 0, 0, 0, 0};
    Put32(&cdb[2], lba);
    Put16(&cdb[7], count);
    return Run(cdb, DataDirection::In, count * 2048u);
  }
  Reply SyncCache() { return Run({0x35}, DataDirection::Out, 0); }
  Reply CloseSession() { return Run({0x5B, 0, 0x02}, DataDirection::Out, 256); }
  Reply CloseTrack(uint8_t track) { return Run({0x5B, 0, 0x01, 0, 0, track}, DataDirection::Out, 256); }
  Reply Blank(uint8_t type, WaitPolicy wait = WaitPolicy::Sliced, const std::function<void()>& slice = {}) {
    return Run({0xA1, type}, DataDirection::Out, 0, {}, wait, slice);
  }
  Reply SetSpeed(uint16_t read, uint16_t write) {
    return Run({0xBB, 0, uint8_t(read >> 8), uint8_t(read), uint8_t(write >> 8), uint8_t(write)},
               DataDirection::Out, 0);
  }

  // Records `blocks` blocks as one session; returns its start address.
  uint32_t RecordSession(uint16_t blocks, bool multiSession) {
    EXPECT_EQ(SetWriteParameters(multiSession).status, 0);
    Reply track = TrackInfo(DiscInfo()[6]);
    uint32_t start = track.U32(12);
    for (uint16_t i = 0; i < blocks; ++i) EXPECT_EQ(WriteBlocks(start + i, 1, uint8_t(i)).status, 0);
    EXPECT_EQ(SyncCache().status, 0);
    EXPECT_EQ(CloseSession().status, 0);
    return start;
  }

  TempFolder temp_;
  std::unique_ptr<InProcessBus> bus_;
  int discNumber_ = 0;
  fs::path discPath_;
};

inline std::string SenseText(const Sense& s) {
  char text[16];
  std::snprintf(text, sizeof text, "%X/%02X/%02X", s.key, s.asc, s.ascq);
  return text;
}

}  // namespace tarvo::vrec::testing
