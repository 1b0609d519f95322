// Scripted stand-ins for the transport and the user interface: the transport
// records every command and answers from per-opcode scripts; the user
// interface records what it was shown.
#pragma once

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "drive/drive_access.h"
#include "drive/drive_ui.h"
#include "drive/scsi_transport.h"

namespace tarvo::testing {

struct SentCommand {
  DeviceAddress device;
  std::vector<uint8_t> cdb;
  DataDirection direction;
  uint32_t length;
  bool hasBuffer;
  WaitPolicy wait;
};

struct Reply {
  uint8_t status = kStatusGood;
  std::vector<uint8_t> data;  // copied to the start of the buffer
};

class FakeTransport : public ScsiTransport {
 public:
  std::vector<int> maxTargets;                 // per adapter; -1: inquiry fails
  std::map<std::tuple<int, int, int>, int> devices;  // (adapter, target, lun) -> type
  std::map<uint8_t, Reply> replies;            // by opcode; missing: good, no data
  std::vector<SentCommand> sent;
  std::vector<std::tuple<int, int, int>> probed;

  int AdapterCount() override { return static_cast<int>(maxTargets.size()); }
  int MaxTargets(int adapter) override { return maxTargets.at(static_cast<size_t>(adapter)); }
  int DeviceType(const DeviceAddress& d) override {
    probed.emplace_back(d.adapterId, d.targetId, d.lun);
    auto it = devices.find({d.adapterId, d.targetId, d.lun});
    return it == devices.end() ? -1 : it->second;
  }
  uint8_t Execute(const DeviceAddress& device, const uint8_t* cdb, DataDirection direction,
                  uint8_t* buffer, uint32_t length, WaitPolicy wait,
                  const std::function<void()>&) override {
    sent.push_back({device, std::vector<uint8_t>(cdb, cdb + kCdbLength), direction, length,
                    buffer != nullptr, wait});
    auto it = replies.find(cdb[0]);
    if (it == replies.end()) return kStatusGood;
    const Reply& reply = it->second;
    if (buffer != nullptr && !reply.data.empty()) {
      std::memcpy(buffer, reply.data.data(), std::min<size_t>(length, reply.data.size()));
    }
    return reply.status;
  }

  std::vector<uint8_t> Opcodes() const {
    std::vector<uint8_t> ops;
    for (const SentCommand& c : sent) ops.push_back(c.cdb[0]);
    return ops;
  }
};

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned style;
};

class FakeUi : public UserInterface {
 public:
  std::vector<ShownMessage> messages;
  std::string infoText;
  std::string statusText;
  uint32_t trackNumber = 0;
  std::vector<uint32_t> trackNumbersWritten;
  int discArrivals = 0;
  std::vector<int> viewSectorResets;
  std::vector<bool> busy;

  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    return kIdOk;
  }
  void SetInfoText(const std::string& text) override { infoText = text; }
  void SetStatusText(const std::string& text) override { statusText = text; }
  uint32_t GetTrackNumber() override { return trackNumber; }
  void SetTrackNumber(uint32_t track) override {
    trackNumber = track;
    trackNumbersWritten.push_back(track);
  }
  void NotifyDiscArrived() override { ++discArrivals; }
  void ResetViewSector(int drive) override { viewSectorResets.push_back(drive); }
  void SetBusy(bool value) override { busy.push_back(value); }
};

// A DriveAccess over the fakes with `drives` table entries at (0, i, 0).
struct Fixture {
  FakeTransport transport;
  FakeUi ui;
  DriveAccess access{ui};

  explicit Fixture(int drives = 1) {
    access.transport = &transport;
    access.driveCount = drives;
    for (int i = 0; i < drives; ++i) access.drives[static_cast<size_t>(i)].targetId = static_cast<uint8_t>(i);
  }
};

}  // namespace tarvo::testing
