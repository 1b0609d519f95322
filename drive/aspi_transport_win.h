// The ASPI for Win32 manager as a SCSI transport, and opening it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "drive/drive_access.h"
#include "drive/scsi_transport.h"

namespace tarvo {

extern const char* const kAspiLoadMessage;

class AspiTransport final : public ScsiTransport {
 public:
  // Loads the manager and binds SendASPI32Command, GetASPI32DLLVersion and
  // GetASPI32SupportInfo, in that order; null when the library or any entry
  // is missing.
  static std::unique_ptr<AspiTransport> Load(const char* libraryName = "WNASPI32.DLL");
  ~AspiTransport() override;
  AspiTransport(const AspiTransport&) = delete;
  AspiTransport& operator=(const AspiTransport&) = delete;

  int AdapterCount() override;
  int MaxTargets(int adapter) override;
  int DeviceType(const DeviceAddress& device) override;
  uint8_t Execute(const DeviceAddress& device, const uint8_t* cdb, DataDirection direction,
                  uint8_t* buffer, uint32_t length, WaitPolicy wait,
                  const std::function<void()>& betweenSlices) override;

  // The limits of the three waits, shortened by tests of the time-out path.
  uint32_t boundedWaitMs = kBoundedWaitMs;
  uint32_t unboundedWaitMs = kUnboundedWaitMs;
  uint32_t slicedWaitMs = kSlicedWaitMs;

 private:
  using SendCommand = unsigned long(__cdecl*)(void*);
  using SupportInfo = unsigned long(__cdecl*)();
  AspiTransport(void* module, SendCommand send, SupportInfo support)
      : module_(module), send_(send), support_(support) {}

  void* module_;
  SendCommand send_;
  SupportInfo support_;
};

// Loads the manager (the message box and 0 when it is missing) and discovers
// the drives behind it into access's drive table. Returns 1 when loaded.
int OpenAspiManager(DriveAccess& access);

}  // namespace tarvo
