#include "drive/drive_access.h"

namespace tarvo {

uint8_t DriveAccess::ExecuteScsiCommand(int drive, const uint8_t* cdb, DataDirection direction,
                                        uint8_t* buffer, uint32_t length, WaitPolicy wait,
                                        const std::function<void()>& betweenSlices) {
  if (transport == nullptr || drive < 0 || drive >= driveCount) return kStatusNoSuchDrive;
  const CdDrive& entry = drives[static_cast<size_t>(drive)];
  const DeviceAddress address{entry.adapterId, entry.targetId, entry.lun};
  return transport->Execute(address, cdb, direction, buffer, length, wait, betweenSlices);
}

void DriveAccess::ShowError(const std::string& text) { ui.ShowMessage(text, title, kMbIconStop); }

std::string DriveAccess::DefaultSenseDumpPath() {
#ifdef _WIN32
  return "c:\\request_sense_buf.txt";
#else
  return "request_sense_buf.txt";
#endif
}

}  // namespace tarvo
