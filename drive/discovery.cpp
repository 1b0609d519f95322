#include "drive/discovery.h"

#include "drive/command_set.h"
#include "drive/disc_query.h"

namespace tarvo {
namespace {

constexpr int kLunsPerTarget = 8;

// Records the device as the next table entry and runs the three discovery
// requests on it, in the order drives expect: identity first.
void AddDrive(DriveAccess& access, const DeviceAddress& device) {
  const int index = access.driveCount;
  CdDrive& entry = access.drives[static_cast<size_t>(index)];
  entry = CdDrive{};
  entry.adapterId = device.adapterId;
  entry.targetId = device.targetId;
  entry.lun = device.lun;
  access.driveCount = index + 1;
  Inquiry(access, index);
  QueryDriveInfo(access, kQueryCapabilities, false, index);
  SetCdSpeed(access, index, 0xFFFF, 0xFFFF);
}

}  // namespace

int DiscoverDrives(DriveAccess& access) {
  access.driveCount = 0;
  access.drives.fill(CdDrive{});
  ScsiTransport* transport = access.transport;
  if (transport == nullptr) return 1;
  const int adapters = transport->AdapterCount() & 0xFF;
  for (int adapter = 0; adapter < adapters; ++adapter) {
    const int targets = transport->MaxTargets(adapter);
    for (int target = 0; target < targets; ++target) {
      for (int lun = 0; lun < kLunsPerTarget; ++lun) {
        const DeviceAddress device{static_cast<uint8_t>(adapter), static_cast<uint8_t>(target),
                                   static_cast<uint8_t>(lun)};
        if (transport->DeviceType(device) != kDeviceTypeCdrom) continue;
        AddDrive(access, device);
        if (access.driveCount == kMaxDrives) return 1;
      }
    }
  }
  return 1;
}

}  // namespace tarvo
