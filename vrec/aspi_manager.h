// The ASPI manager's logic over the in-process bus, portable so that native
// tests reach it: SC_HA_INQUIRY, SC_GET_DEV_TYPE, SC_EXEC_SCSI_CMD (run on
// the drive's worker thread: SS_PENDING at once, the final status, target status and
// automatic sense later, then the completion notice), SC_ABORT_SRB and
// SC_RESET_DEV. The DLL front (aspi_dll_win.cpp) supplies the notice: an
// event set, or the posting routine called.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "vrec/aspi_defs.h"
#include "vrec/inprocess_transport.h"

namespace tarvo::vrec {

class AspiManager {
 public:
  // Called after the request block's status is final, with the flags and
  // posting field read before that (a polling initiator may already have
  // released the block).
  using Notify = std::function<void(uint8_t flags, void* postProc, aspi::SRB_ExecSCSICmd* srb)>;

  AspiManager(std::unique_ptr<InProcessBus> bus, Notify notify);
  // Aborts what is still running and waits for the workers.
  ~AspiManager();
  AspiManager(const AspiManager&) = delete;
  AspiManager& operator=(const AspiManager&) = delete;

  // GetASPI32SupportInfo: status in bits 15-8, adapter count in bits 7-0.
  uint32_t SupportInfo() const;
  // SendASPI32Command.
  uint32_t Send(void* srb);

  InProcessBus& bus() { return *bus_; }

 private:
  uint32_t HaInquiry(aspi::SRB_HAInquiry* srb);
  uint32_t GetDeviceType(aspi::SRB_GDEVBlock* srb);
  uint32_t Execute(aspi::SRB_ExecSCSICmd* srb);
  uint32_t Abort(aspi::SRB_Abort* srb);
  // A drive's worker: runs its queued requests in order until shutdown.
  void Serve(Device* device);
  void Run(aspi::SRB_ExecSCSICmd* srb, Device* device);
  Outcome ExecuteOnDevice(aspi::SRB_ExecSCSICmd* srb, Device* device);
  // Final status, target status, sense, then the completion notice.
  void Complete(aspi::SRB_ExecSCSICmd* srb, const Outcome& outcome);

  std::unique_ptr<InProcessBus> bus_;
  Notify notify_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::set<aspi::SRB_ExecSCSICmd*> running_;
  std::set<aspi::SRB_ExecSCSICmd*> abortRequested_;
  std::map<Device*, std::unique_ptr<std::mutex>> deviceBusy_;
  std::map<Device*, std::deque<aspi::SRB_ExecSCSICmd*>> queues_;
  std::map<Device*, bool> serving_;
  int workers_ = 0;
  bool shuttingDown_ = false;
};

}  // namespace tarvo::vrec
