// A scripted ASPI for Win32 manager: enough of SendASPI32Command to exercise
// the transport's request blocks, waits, refusals and aborts.
#include <windows.h>

#include <cstring>

#include "drive/aspi_srb.h"
#include "fake_aspi_control.h"

namespace aspi = tarvo::aspi;

namespace {

fake_aspi::Script g_script;
fake_aspi::Log g_log;
aspi::SRB_ExecSCSICmd* g_pending = nullptr;

void Complete(aspi::SRB_ExecSCSICmd* srb) {
  if (srb->SRB_BufPointer != nullptr && srb->SRB_BufLen > 0 && (srb->SRB_Flags & aspi::SRB_DIR_IN)) {
    srb->SRB_BufPointer[0] = g_script.replyByte;
  }
  srb->SRB_TargStat = g_script.targetStatus;
  srb->SRB_Status = g_script.targetStatus == 0 ? aspi::SS_COMP : aspi::SS_ERR;
}

DWORD WINAPI CompleteLater(void* parameter) {
  auto* srb = static_cast<aspi::SRB_ExecSCSICmd*>(parameter);
  Sleep(g_script.delayMs);
  Complete(srb);
  ++g_log.completedLate;
  SetEvent(static_cast<HANDLE>(srb->SRB_PostProc));
  return 0;
}

void StartLater(aspi::SRB_ExecSCSICmd* srb) {
  HANDLE thread = CreateThread(nullptr, 0, CompleteLater, srb, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
}

DWORD Execute(aspi::SRB_ExecSCSICmd* srb) {
  if (g_log.execCount < 64) {
    fake_aspi::ExecRecord& r = g_log.exec[g_log.execCount++];
    r = {srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun, srb->SRB_Flags, srb->SRB_SenseLen,
         srb->SRB_CDBLen, srb->SRB_BufLen, srb->SRB_BufPointer != nullptr,
         srb->SRB_PostProc != nullptr, {}};
    std::memcpy(r.cdb, srb->CDBByte, 16);
  }
  switch (g_script.mode) {
    case fake_aspi::ExecMode::CompleteAtOnce:
      Complete(srb);
      return srb->SRB_Status;
    case fake_aspi::ExecMode::Refuse:
      srb->SRB_Status = g_script.refuseCode;
      return g_script.refuseCode;
    case fake_aspi::ExecMode::AdapterError:
      srb->SRB_HaStat = 0x11;  // selection time-out
      srb->SRB_Status = aspi::SS_ERR;
      return aspi::SS_ERR;
    case fake_aspi::ExecMode::CompleteLater:
      srb->SRB_Status = aspi::SS_PENDING;
      StartLater(srb);
      return aspi::SS_PENDING;
    case fake_aspi::ExecMode::NeverComplete:
    case fake_aspi::ExecMode::AbortFails:
      srb->SRB_Status = aspi::SS_PENDING;
      g_pending = srb;
      return aspi::SS_PENDING;
  }
  return aspi::SS_INVALID_SRB;
}

DWORD Abort(aspi::SRB_Abort* request) {
  ++g_log.aborts;
  auto* target = static_cast<aspi::SRB_ExecSCSICmd*>(request->SRB_ToAbort);
  if (target == nullptr || target != g_pending) {
    request->SRB_Status = aspi::SS_ABORT_FAIL;
    return aspi::SS_ABORT_FAIL;
  }
  g_pending = nullptr;
  if (g_script.mode == fake_aspi::ExecMode::AbortFails) {
    StartLater(target);
    request->SRB_Status = aspi::SS_ABORT_FAIL;
    return aspi::SS_ABORT_FAIL;
  }
  target->SRB_Status = aspi::SS_ABORTED;
  SetEvent(static_cast<HANDLE>(target->SRB_PostProc));
  request->SRB_Status = aspi::SS_COMP;
  return aspi::SS_COMP;
}

int DeviceTypeAt(uint8_t adapter, uint8_t target, uint8_t lun) {
  for (int i = 0; i < g_script.deviceCount; ++i) {
    const fake_aspi::Device& d = g_script.devices[i];
    if (d.adapter == adapter && d.target == target && d.lun == lun) return d.type;
  }
  return -1;
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD SendASPI32Command(void* request) {
  auto* header = static_cast<aspi::SRB_Header*>(request);
  switch (header->SRB_Cmd) {
    case aspi::SC_HA_INQUIRY: {
      auto* srb = static_cast<aspi::SRB_HAInquiry*>(request);
      const int adapter = srb->SRB_HaId;
      if (adapter >= g_script.adapterCount || g_script.maxTargets[adapter] < 0) {
        srb->SRB_Status = aspi::SS_INVALID_HA;
      } else {
        srb->HA_Count = static_cast<uint8_t>(g_script.adapterCount);
        srb->HA_Unique[3] = static_cast<uint8_t>(g_script.maxTargets[adapter]);
        srb->SRB_Status = aspi::SS_COMP;
      }
      return srb->SRB_Status;
    }
    case aspi::SC_GET_DEV_TYPE: {
      auto* srb = static_cast<aspi::SRB_GDEVBlock*>(request);
      if (g_log.probeCount < 256) {
        g_log.probes[g_log.probeCount++] = {srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun, 0};
      }
      const int type = DeviceTypeAt(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun);
      srb->SRB_Status = type < 0 ? aspi::SS_NO_DEVICE : aspi::SS_COMP;
      srb->SRB_DeviceType = static_cast<uint8_t>(type < 0 ? 0 : type);
      return srb->SRB_Status;
    }
    case aspi::SC_EXEC_SCSI_CMD:
      return Execute(static_cast<aspi::SRB_ExecSCSICmd*>(request));
    case aspi::SC_ABORT_SRB:
      return Abort(static_cast<aspi::SRB_Abort*>(request));
    default:
      header->SRB_Status = aspi::SS_INVALID_CMD;
      return aspi::SS_INVALID_CMD;
  }
}

__declspec(dllexport) DWORD GetASPI32SupportInfo() {
  return static_cast<DWORD>(aspi::SS_COMP) << 8 | static_cast<uint8_t>(g_script.adapterCount);
}

#ifndef FAKE_ASPI_WITHOUT_VERSION
__declspec(dllexport) DWORD GetASPI32DLLVersion() { return 0x0401; }
#endif

__declspec(dllexport) void FakeAspiSetScript(const fake_aspi::Script* script) {
  g_script = *script;
  std::memset(&g_log, 0, sizeof g_log);
  g_pending = nullptr;
}

__declspec(dllexport) const fake_aspi::Log* FakeAspiLog() { return &g_log; }

}  // extern "C"
