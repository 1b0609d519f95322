// The virtual recorder as a tarvo::ScsiTransport inside the test process:
// native tests of the drive and recording layers run the real command set
// against the device model, with no DLL and no Wine.
//
//   auto bus = vrec::InProcessBus::FromText(
//       "[device 0:1:0]\ndisc = disc.img\nmedia = cdr80\n", tempDir, &error);
//   uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0x00, 0x96, 0};
//   uint8_t reply[256] = {};
//   uint8_t status = bus->Execute({0, 1, 0}, cdb, DataDirection::In, reply, 256,
//                                 WaitPolicy::Bounded, {});
//
// Time is simulated: a command that keeps the drive busy (BLANK, closing a
// session) advances SimulatedMs() by its duration and, under the sliced wait,
// calls betweenSlices once for every full 980 ms slice it spans, without
// sleeping (unless set_real_time(true)).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "drive/scsi_transport.h"
#include "vrec/config.h"
#include "vrec/device.h"

namespace tarvo::vrec {

// Status returned for an address with no device (the ASPI SS_NO_DEVICE code,
// so status texts name it) and for a command that did not finish within the
// wait (SCSI BUSY).
inline constexpr uint8_t kStatusNoDevice = 0x82;
inline constexpr uint8_t kStatusTimedOut = 0x08;

class InProcessBus : public ScsiTransport {
 public:
  explicit InProcessBus(const BusConfig& config);
  static std::unique_ptr<InProcessBus> FromText(const std::string& text, const std::filesystem::path& baseDir,
                                                std::string* error);
  static std::unique_ptr<InProcessBus> FromFile(const std::filesystem::path& file, std::string* error);

  int AdapterCount() override;
  int MaxTargets(int adapter) override;
  int DeviceType(const DeviceAddress& device) override;
  uint8_t Execute(const DeviceAddress& device, const uint8_t* cdb, DataDirection direction, uint8_t* buffer,
                  uint32_t length, WaitPolicy wait, const std::function<void()>& betweenSlices) override;

  // Same as Execute with a command block of any length (6, 10, 12 bytes).
  uint8_t ExecuteCdb(const DeviceAddress& device, const uint8_t* cdb, size_t cdbLength, DataDirection direction,
                     uint8_t* buffer, uint32_t length, WaitPolicy wait = WaitPolicy::Bounded,
                     const std::function<void()>& betweenSlices = {});

  Device* Find(const DeviceAddress& device);
  size_t DeviceCount() const { return devices_.size(); }
  Device& DeviceAt(size_t index) { return *devices_[index]; }
  // Sense of the most recent command (the automatic sense an ASPI manager
  // returns in SenseArea); no sense after a good status.
  const Sense& LastSense() const { return lastSense_; }
  uint64_t SimulatedMs() const { return simulatedMs_; }
  // Sliced waits on a command that never finishes (fault injection) give up after this many
  // slices with kStatusTimedOut.
  void set_slice_limit(uint32_t slices) { sliceLimit_ = slices; }
  void set_real_time(bool realTime) { realTime_ = realTime; }

 private:
  std::vector<AdapterConfig> adapters_;
  std::vector<std::unique_ptr<Device>> devices_;
  std::shared_ptr<TraceLog> trace_;
  Sense lastSense_;
  uint64_t simulatedMs_ = 0;
  uint32_t sliceLimit_ = 1000;
  bool realTime_ = false;
};

}  // namespace tarvo::vrec
