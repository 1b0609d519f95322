#include "drive/aspi_transport_win.h"

#include <windows.h>

#include <cstring>

#include "drive/aspi_srb.h"
#include "drive/discovery.h"

namespace tarvo {

const char* const kAspiLoadMessage =
    "Could not load: WNASPI32.DLL.\nYou must install ASPI drivers version 4.01 or later.\n"
    "You can search an Internet for install files: \"ASPI.exe and ASPI32.exe\".";

namespace {

class EventHandle {
 public:
  EventHandle() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~EventHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  EventHandle(const EventHandle&) = delete;
  EventHandle& operator=(const EventHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

uint8_t RequestStatus(const aspi::SRB_ExecSCSICmd& srb) {
  // The manager writes the block from its own thread until it completes.
  return *static_cast<const volatile uint8_t*>(&srb.SRB_Status);
}

// A request the manager refused: its own code when it has a text, else a
// generic refusal. Never "good".
uint8_t RefusalStatus(unsigned long code) {
  const uint8_t status = static_cast<uint8_t>(code);
  return status >= 0x80 ? status : kStatusRequestRefused;
}

}  // namespace

std::unique_ptr<AspiTransport> AspiTransport::Load(const char* libraryName) {
  HMODULE module = LoadLibraryA(libraryName);
  if (module == nullptr) return nullptr;
  FARPROC send = GetProcAddress(module, "SendASPI32Command");
  FARPROC version = GetProcAddress(module, "GetASPI32DLLVersion");
  FARPROC support = GetProcAddress(module, "GetASPI32SupportInfo");
  if (send == nullptr || version == nullptr || support == nullptr) {
    FreeLibrary(module);
    return nullptr;
  }
  return std::unique_ptr<AspiTransport>(new AspiTransport(
      module, reinterpret_cast<SendCommand>(reinterpret_cast<void*>(send)),
      reinterpret_cast<SupportInfo>(reinterpret_cast<void*>(support))));
}

AspiTransport::~AspiTransport() { FreeLibrary(static_cast<HMODULE>(module_)); }

int AspiTransport::AdapterCount() { return static_cast<int>(support_() & 0xFF); }

int AspiTransport::MaxTargets(int adapter) {
  aspi::SRB_HAInquiry srb{};
  srb.SRB_Cmd = aspi::SC_HA_INQUIRY;
  srb.SRB_HaId = static_cast<uint8_t>(adapter);
  send_(&srb);
  if (srb.SRB_Status != aspi::SS_COMP) return -1;
  return srb.HA_Unique[3];
}

int AspiTransport::DeviceType(const DeviceAddress& device) {
  aspi::SRB_GDEVBlock srb{};
  srb.SRB_Cmd = aspi::SC_GET_DEV_TYPE;
  srb.SRB_HaId = device.adapterId;
  srb.SRB_Target = device.targetId;
  srb.SRB_Lun = device.lun;
  send_(&srb);
  if (srb.SRB_Status != aspi::SS_COMP) return -1;
  return srb.SRB_DeviceType;
}

uint8_t AspiTransport::Execute(const DeviceAddress& device, const uint8_t* cdb,
                               DataDirection direction, uint8_t* buffer, uint32_t length,
                               WaitPolicy wait, const std::function<void()>& betweenSlices) {
  EventHandle event;
  if (event.get() == nullptr) return aspi::SS_INSUFFICIENT_RESOURCES;

  aspi::SRB_ExecSCSICmd srb{};
  srb.SRB_Cmd = aspi::SC_EXEC_SCSI_CMD;
  srb.SRB_HaId = device.adapterId;
  srb.SRB_Target = device.targetId;
  srb.SRB_Lun = device.lun;
  srb.SRB_Flags = aspi::SRB_EVENT_NOTIFY;
  if (direction == DataDirection::In) srb.SRB_Flags |= aspi::SRB_DIR_IN;
  if (direction == DataDirection::Out) srb.SRB_Flags |= aspi::SRB_DIR_OUT;
  srb.SRB_BufLen = length;
  srb.SRB_BufPointer = buffer;
  srb.SRB_SenseLen = aspi::SENSE_LEN;
  srb.SRB_CDBLen = kCdbLength;  // six-byte commands too, zero-filled
  srb.SRB_PostProc = event.get();
  std::memcpy(srb.CDBByte, cdb, kCdbLength);

  ResetEvent(event.get());
  const unsigned long accepted = send_(&srb);
  if (accepted != aspi::SS_PENDING && accepted != aspi::SS_COMP && accepted != aspi::SS_ERR) {
    return RefusalStatus(accepted);
  }

  bool terminated = false;
  if (accepted == aspi::SS_PENDING) {
    DWORD result = WAIT_FAILED;
    switch (wait) {
      case WaitPolicy::Bounded:
        result = WaitForSingleObject(event.get(), boundedWaitMs);
        break;
      case WaitPolicy::Unbounded:
        result = WaitForSingleObject(event.get(), unboundedWaitMs);
        break;
      case WaitPolicy::Sliced: {
        // Measured by the clock: the work between slices takes time too.
        const ULONGLONG deadline = GetTickCount64() + slicedWaitMs;
        while ((result = WaitForSingleObject(event.get(), kSliceMs)) == WAIT_TIMEOUT) {
          if (GetTickCount64() >= deadline) break;
          if (betweenSlices) betweenSlices();
        }
        break;
      }
    }
    if (result != WAIT_OBJECT_0 && RequestStatus(srb) == aspi::SS_PENDING) {
      // The manager still owns the request and its buffers: abort it and wait
      // for the request to leave the pending state before anything is freed.
      terminated = true;
      aspi::SRB_Abort abort{};
      abort.SRB_Cmd = aspi::SC_ABORT_SRB;
      abort.SRB_HaId = device.adapterId;
      abort.SRB_ToAbort = &srb;
      send_(&abort);
      while (RequestStatus(srb) == aspi::SS_PENDING) WaitForSingleObject(event.get(), 100);
    }
  }

  const uint8_t status = RequestStatus(srb);
  if (terminated || status == aspi::SS_ABORTED || status == aspi::SS_ABORT_FAIL) {
    return kStatusCommandTerminated;
  }
  if (status == aspi::SS_COMP) return srb.SRB_TargStat;
  // Completed with an error: the target's status when it gave one; an error
  // of the adapter alone is still a failure, not a good status.
  if (status == aspi::SS_ERR) return srb.SRB_TargStat != 0 ? srb.SRB_TargStat : kStatusCommandTerminated;
  return RefusalStatus(status);
}

int OpenAspiManager(DriveAccess& access) {
  std::unique_ptr<AspiTransport> manager = AspiTransport::Load();
  if (!manager) {
    access.ShowError(kAspiLoadMessage);
    return 0;
  }
  access.ownedTransport = std::move(manager);
  access.transport = access.ownedTransport.get();
  return DiscoverDrives(access);
}

}  // namespace tarvo
