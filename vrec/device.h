// The virtual CD recorder: an MMC-3 / SPC-3 logical unit that executes one
// command block at a time against a disc store. Every command validates its
// block as a drive does and answers CHECK CONDITION with sense data when it
// must refuse. Thread-safe: commands on one device are serialised.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "drive/scsi_transport.h"
#include "vrec/device_config.h"
#include "vrec/disc_store.h"
#include "vrec/sense.h"
#include "vrec/trace.h"

namespace tarvo::vrec {

struct Outcome {
  uint8_t status = kStatusGood;
  uint32_t transferred = 0;
  // Simulated time the command keeps the drive busy, in milliseconds, the
  // configured time scale already applied. The front waits this long before
  // it reports completion.
  uint64_t busyMs = 0;
  bool neverCompletes = false;  // fault injection: the front never completes it
  Sense sense;                  // the sense of a CHECK CONDITION (autosense)
};

inline constexpr size_t kWriteParametersPageLength = 52;  // MMC-3 Table 641, 32h + 2

class Device {
 public:
  explicit Device(DeviceConfig config, DeviceAddress address = {}, std::shared_ptr<TraceLog> trace = nullptr);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // cdbLength may be shorter than the command's own length (bytes beyond it
  // count as zero) or longer (ignored), as a host adapter passes them.
  Outcome Execute(const uint8_t* cdb, size_t cdbLength, DataDirection direction, uint8_t* buffer,
                  uint32_t length);

  const DeviceConfig& config() const { return config_; }
  DeviceConfig& mutable_config() { return config_; }
  const DeviceAddress& address() const { return address_; }
  // The disc in the drive, or null (for tests and the vrec tool).
  DiscStore* store() { return store_.get(); }
  bool locked() const { return locked_; }

 private:
  struct Request {
    uint8_t cdb[16] = {};
    DataDirection direction = DataDirection::None;
    uint8_t* buffer = nullptr;
    uint32_t length = 0;
    uint32_t transferred = 0;
    uint64_t busyMs = 0;
    bool neverCompletes = false;
  };

  uint8_t Dispatch(Request& request);
  uint8_t Fail(const Sense& sense, int64_t information = -1);
  uint8_t Good() { return kStatusGood; }
  // Sends `reply` to the initiator, cut to the allocation length.
  uint8_t ReplyIn(Request& request, const std::vector<uint8_t>& reply, uint32_t allocation);
  // Checks that `needed` bytes can be taken from the initiator.
  bool TakeOut(const Request& request, uint32_t needed) const;
  // NOT READY sense when no disc is ready; null when one is.
  const Sense* MediumProblem() const;
  // The configured faults while they are armed, else none.
  const Faults& faults() const;
  void SyncWithStore();
  void AttachStore(std::unique_ptr<DiscStore> store);
  void SaveStore();
  void RefreshMirror();

  // Commands without a medium (device.cpp).
  uint8_t TestUnitReady(Request& r);
  uint8_t RezeroUnit(Request& r);
  uint8_t RequestSense(Request& r);
  uint8_t Inquiry(Request& r);
  uint8_t StartStopUnit(Request& r);
  uint8_t PreventAllow(Request& r);
  uint8_t SetCdSpeed(Request& r);
  uint8_t ReadBufferCapacity(Request& r);
  // Recording (device_recording.cpp).
  uint8_t Read10(Request& r);
  uint8_t Write10(Request& r);
  uint8_t SynchronizeCache(Request& r);
  uint8_t CloseTrackSession(Request& r);
  uint8_t Blank(Request& r);
  // Reports (device_reports.cpp).
  uint8_t ReadToc(Request& r);
  uint8_t ReadDiscInformation(Request& r);
  uint8_t ReadTrackInformation(Request& r);
  // Mode pages (device_modes.cpp).
  uint8_t ModeSense10(Request& r);
  uint8_t ModeSelect10(Request& r);
  std::vector<uint8_t> CapabilitiesPage() const;
  uint64_t SimulatedMs(int64_t blocks) const;

  std::mutex mutex_;
  DeviceConfig config_;
  DeviceAddress address_;
  std::shared_ptr<TraceLog> trace_;
  uint64_t sequence_ = 0;
  Sense pending_;
  std::unique_ptr<DiscStore> store_;
  bool locked_ = false;
  bool faultsArmed_ = true;  // decided once per command
  bool dirty_ = false;
  int writesSinceSave_ = 0;
  std::array<uint8_t, kWriteParametersPageLength> writeParameters_{};
  uint16_t readSpeedKBps_ = 0;
  uint16_t writeSpeedKBps_ = 0;
};

}  // namespace tarvo::vrec
