#include "vrec/aspi_manager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace tarvo::vrec {

using namespace aspi;

namespace {

constexpr uint32_t kMaxTransferBytes = 0x20000;

void CopyText(uint8_t* field, size_t width, const char* text) {
  size_t length = std::strlen(text);
  for (size_t i = 0; i < width; ++i) field[i] = i < length ? static_cast<uint8_t>(text[i]) : ' ';
}

}  // namespace

AspiManager::AspiManager(std::unique_ptr<InProcessBus> bus, Notify notify)
    : bus_(std::move(bus)), notify_(std::move(notify)) {
  for (size_t i = 0; i < bus_->DeviceCount(); ++i) {
    deviceBusy_[&bus_->DeviceAt(i)] = std::make_unique<std::mutex>();
  }
}

AspiManager::~AspiManager() {
  std::unique_lock<std::mutex> lock(mutex_);
  shuttingDown_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return workers_ == 0; });
}

uint32_t AspiManager::SupportInfo() const {
  int count = bus_->AdapterCount();
  if (count == 0) return static_cast<uint32_t>(SS_NO_ADAPTERS) << 8;
  return static_cast<uint32_t>(SS_COMP) << 8 | static_cast<uint32_t>(count & 0xFF);
}

uint32_t AspiManager::Send(void* request) {
  if (request == nullptr) return SS_INVALID_SRB;
  auto* header = static_cast<SRB_Header*>(request);
  switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY: return HaInquiry(static_cast<SRB_HAInquiry*>(request));
    case SC_GET_DEV_TYPE: return GetDeviceType(static_cast<SRB_GDEVBlock*>(request));
    case SC_EXEC_SCSI_CMD: return Execute(static_cast<SRB_ExecSCSICmd*>(request));
    case SC_ABORT_SRB: return Abort(static_cast<SRB_Abort*>(request));
    case SC_RESET_DEV:
      header->SRB_Status = header->SRB_HaId < bus_->AdapterCount() ? SS_COMP : SS_INVALID_HA;
      return header->SRB_Status;
    default:
      header->SRB_Status = SS_INVALID_CMD;
      return SS_INVALID_CMD;
  }
}

uint32_t AspiManager::HaInquiry(SRB_HAInquiry* srb) {
  if (srb->SRB_HaId >= bus_->AdapterCount()) return srb->SRB_Status = SS_INVALID_HA;
  srb->HA_Count = static_cast<uint8_t>(bus_->AdapterCount());
  srb->HA_SCSI_ID = 7;
  CopyText(srb->HA_ManagerId, sizeof srb->HA_ManagerId, "VREC ASPI32");
  CopyText(srb->HA_Identifier, sizeof srb->HA_Identifier, "VREC VIRTUAL BUS");
  std::memset(srb->HA_Unique, 0, sizeof srb->HA_Unique);
  srb->HA_Unique[3] = static_cast<uint8_t>(bus_->MaxTargets(srb->SRB_HaId));
  std::memcpy(&srb->HA_Unique[4], &kMaxTransferBytes, 4);  // little-endian DWORD
  srb->HA_Rsvd1 = 0;
  return srb->SRB_Status = SS_COMP;
}

uint32_t AspiManager::GetDeviceType(SRB_GDEVBlock* srb) {
  if (srb->SRB_HaId >= bus_->AdapterCount()) return srb->SRB_Status = SS_INVALID_HA;
  int type = bus_->DeviceType({srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun});
  if (type < 0) return srb->SRB_Status = SS_NO_DEVICE;
  srb->SRB_DeviceType = static_cast<uint8_t>(type);
  return srb->SRB_Status = SS_COMP;
}

uint32_t AspiManager::Execute(SRB_ExecSCSICmd* srb) {
  if (srb->SRB_HaId >= bus_->AdapterCount()) return srb->SRB_Status = SS_INVALID_HA;
  Device* device = bus_->Find({srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun});
  if (device == nullptr) return srb->SRB_Status = SS_NO_DEVICE;
  if (srb->SRB_CDBLen < 6 || srb->SRB_CDBLen > 16 || (srb->SRB_BufLen > 0 && srb->SRB_BufPointer == nullptr)) {
    return srb->SRB_Status = SS_INVALID_SRB;
  }
  srb->SRB_Status = SS_PENDING;
  srb->SRB_HaStat = 0;
  srb->SRB_TargStat = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  running_.insert(srb);
  // READ(10) and WRITE(10) keep a drive busy for no time: on an idle drive
  // they run at once on the caller's thread (still SS_PENDING, then the
  // notice), sparing two thread switches per sector.
  const uint8_t opcode = srb->CDBByte[0];
  const bool instant = (opcode == 0x28 || opcode == 0x2A) && !device->config().faults.NeverFinishes(opcode);
  if (instant && queues_[device].empty()) {
    std::unique_lock<std::mutex> busy(*deviceBusy_[device], std::try_to_lock);
    if (busy.owns_lock()) {
      lock.unlock();
      const Outcome outcome = ExecuteOnDevice(srb, device);
      Complete(srb, outcome);
      return SS_PENDING;
    }
  }
  queues_[device].push_back(srb);
  // One long-lived worker per drive: creating a thread per command costs
  // more than the command itself (about 1.8 ms under Wine).
  if (!serving_[device]) {
    serving_[device] = true;
    ++workers_;
    std::thread([this, device] { Serve(device); }).detach();
  }
  changed_.notify_all();
  return SS_PENDING;
}

void AspiManager::Serve(Device* device) {
  std::unique_lock<std::mutex> lock(mutex_);
  std::deque<SRB_ExecSCSICmd*>& queue = queues_[device];
  for (;;) {
    changed_.wait(lock, [this, &queue] { return shuttingDown_ || !queue.empty(); });
    if (queue.empty()) break;
    SRB_ExecSCSICmd* srb = queue.front();
    queue.pop_front();
    lock.unlock();
    Run(srb, device);
    lock.lock();
  }
  serving_[device] = false;
  --workers_;
  changed_.notify_all();
}

Outcome AspiManager::ExecuteOnDevice(SRB_ExecSCSICmd* srb, Device* device) {
  DataDirection direction = DataDirection::None;
  uint8_t dir = srb->SRB_Flags & (SRB_DIR_IN | SRB_DIR_OUT);
  if (dir == SRB_DIR_IN) direction = DataDirection::In;
  if (dir == SRB_DIR_OUT) direction = DataDirection::Out;
  return device->Execute(srb->CDBByte, srb->SRB_CDBLen, direction, srb->SRB_BufPointer, srb->SRB_BufLen);
}

void AspiManager::Run(SRB_ExecSCSICmd* srb, Device* device) {
  Outcome outcome;
  {
    // One command at a time per drive, its busy time included.
    std::lock_guard<std::mutex> busy(*deviceBusy_[device]);
    outcome = ExecuteOnDevice(srb, device);
    std::unique_lock<std::mutex> lock(mutex_);
    auto stop = [this, srb] { return shuttingDown_ || abortRequested_.count(srb) != 0; };
    if (outcome.neverCompletes) {
      changed_.wait(lock, stop);
    } else if (outcome.busyMs > 0) {
      changed_.wait_for(lock, std::chrono::milliseconds(outcome.busyMs), stop);
    }
  }
  Complete(srb, outcome);
}

void AspiManager::Complete(SRB_ExecSCSICmd* srb, const Outcome& outcome) {
  std::unique_lock<std::mutex> lock(mutex_);
  bool aborted = abortRequested_.erase(srb) != 0 || (outcome.neverCompletes && shuttingDown_);
  running_.erase(srb);
  srb->SRB_TargStat = outcome.status;
  if (outcome.status == kStatusCheckCondition) {
    uint8_t sense[kFixedSenseLength];
    EncodeFixedSense(outcome.sense, sense);
    size_t count = std::min<size_t>({srb->SRB_SenseLen, sizeof srb->SenseArea, sizeof sense});
    std::memcpy(srb->SenseArea, sense, count);
  }
  uint8_t flags = srb->SRB_Flags;
  void* postProc = srb->SRB_PostProc;
  std::atomic_thread_fence(std::memory_order_release);
  srb->SRB_Status = aborted ? SS_ABORTED : outcome.status == kStatusGood ? SS_COMP : SS_ERR;
  lock.unlock();
  if (notify_) notify_(flags, postProc, srb);
}

uint32_t AspiManager::Abort(SRB_Abort* srb) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto* target = static_cast<SRB_ExecSCSICmd*>(srb->SRB_ToAbort);
  if (running_.count(target) == 0) return srb->SRB_Status = SS_ABORT_FAIL;
  abortRequested_.insert(target);
  changed_.notify_all();
  return srb->SRB_Status = SS_COMP;
}

}  // namespace tarvo::vrec
