#include "vrec/inprocess_transport.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarvo::vrec {

InProcessBus::InProcessBus(const BusConfig& config) : adapters_(config.adapters) {
  if (!config.tracePath.empty()) trace_ = std::make_shared<TraceLog>(config.tracePath);
  for (const DeviceEntry& entry : config.devices) {
    devices_.push_back(std::make_unique<Device>(entry.config, entry.address, trace_));
  }
}

std::unique_ptr<InProcessBus> InProcessBus::FromText(const std::string& text, const std::filesystem::path& baseDir,
                                                     std::string* error) {
  BusConfig config;
  if (!ParseBusConfig(text, baseDir, &config, error)) return nullptr;
  return std::make_unique<InProcessBus>(config);
}

std::unique_ptr<InProcessBus> InProcessBus::FromFile(const std::filesystem::path& file, std::string* error) {
  BusConfig config;
  if (!LoadBusConfig(file, &config, error)) return nullptr;
  return std::make_unique<InProcessBus>(config);
}

int InProcessBus::AdapterCount() { return static_cast<int>(adapters_.size()); }

int InProcessBus::MaxTargets(int adapter) {
  if (adapter < 0 || adapter >= AdapterCount()) return -1;
  return adapters_[static_cast<size_t>(adapter)].maxTargets;
}

Device* InProcessBus::Find(const DeviceAddress& device) {
  for (auto& candidate : devices_) {
    const DeviceAddress& a = candidate->address();
    if (a.adapterId == device.adapterId && a.targetId == device.targetId && a.lun == device.lun) {
      return candidate.get();
    }
  }
  return nullptr;
}

int InProcessBus::DeviceType(const DeviceAddress& device) {
  Device* found = Find(device);
  return found ? found->config().identity.deviceType : -1;
}

uint8_t InProcessBus::Execute(const DeviceAddress& device, const uint8_t* cdb, DataDirection direction,
                              uint8_t* buffer, uint32_t length, WaitPolicy wait,
                              const std::function<void()>& betweenSlices) {
  return ExecuteCdb(device, cdb, kCdbLength, direction, buffer, length, wait, betweenSlices);
}

uint8_t InProcessBus::ExecuteCdb(const DeviceAddress& device, const uint8_t* cdb, size_t cdbLength,
                                 DataDirection direction, uint8_t* buffer, uint32_t length, WaitPolicy wait,
                                 const std::function<void()>& betweenSlices) {
  lastSense_ = kNoSense;
  Device* target = Find(device);
  if (target == nullptr) return kStatusNoDevice;
  Outcome outcome = target->Execute(cdb, cdbLength, direction, buffer, length);
  lastSense_ = outcome.sense;
  auto pass = [this](uint64_t ms) {
    simulatedMs_ += ms;
    if (realTime_) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  };
  switch (wait) {
    case WaitPolicy::Bounded:
      if (outcome.neverCompletes || outcome.busyMs > kBoundedWaitMs) {
        pass(kBoundedWaitMs);
        return kStatusTimedOut;
      }
      pass(outcome.busyMs);
      return outcome.status;
    case WaitPolicy::Unbounded:
      // A real unbounded wait on such a command never returns; a test must
      // not hang, so the bus reports it as timed out.
      if (outcome.neverCompletes) return kStatusTimedOut;
      pass(outcome.busyMs);
      return outcome.status;
    case WaitPolicy::Sliced: {
      uint64_t left = outcome.busyMs;
      for (uint32_t slice = 0; outcome.neverCompletes || left >= kSliceMs; ++slice) {
        if (outcome.neverCompletes && slice == sliceLimit_) return kStatusTimedOut;
        pass(kSliceMs);
        left -= std::min<uint64_t>(left, kSliceMs);
        if (betweenSlices) betweenSlices();
      }
      pass(left);
      return outcome.status;
    }
  }
  return outcome.status;
}

}  // namespace tarvo::vrec
