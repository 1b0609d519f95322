#include "vrec/device.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "vrec/cdb.h"
#include "vrec/mirror.h"

namespace tarvo::vrec {

Device::Device(DeviceConfig config, DeviceAddress address, std::shared_ptr<TraceLog> trace)
    : config_(std::move(config)), address_(address), trace_(std::move(trace)) {
  // Power-on write parameters (MMC-3 Table 641): track at once, Mode 1 data
  // track, no next session, audio pause 150 blocks.
  writeParameters_[0] = 0x05;
  writeParameters_[1] = kWriteParametersPageLength - 2;
  writeParameters_[2] = 0x01;
  writeParameters_[3] = 0x04;
  writeParameters_[4] = 0x08;
  Put16(&writeParameters_[14], 150);
  readSpeedKBps_ = config_.capabilities.maxReadSpeedKBps;
  writeSpeedKBps_ = config_.capabilities.maxWriteSpeedKBps;
  if (!config_.discPath.empty()) {
    if (!DiscStore::Exists(config_.discPath) && config_.createMedia) {
      AttachStore(CreateDisc(config_.discPath, *config_.createMedia, config_.createImage, nullptr));
    } else {
      AttachStore(DiscStore::Open(config_.discPath, nullptr));
    }
  }
  RefreshMirror();
}

Device::~Device() {
  std::lock_guard<std::mutex> lock(mutex_);
  SaveStore();
}

void Device::AttachStore(std::unique_ptr<DiscStore> store) {
  store_ = std::move(store);
  dirty_ = false;
  writesSinceSave_ = 0;
}

void Device::SaveStore() {
  if (store_ && dirty_) {
    store_->Flush();
    store_->Save();
  }
  dirty_ = false;
  writesSinceSave_ = 0;
}

void Device::RefreshMirror() {
  if (config_.mirrorFolder.empty()) return;
  MirrorLastSession(config_.mirrorFolder, store_ && store_->loaded() ? store_.get() : nullptr);
}

// Another writer (the vrec tool, a test) may have replaced the disc: the
// drive then sees a new medium, as after a tray cycle.
void Device::SyncWithStore() {
  if (config_.discPath.empty()) return;
  bool changed = false;
  if (!store_) {
    if (DiscStore::Exists(config_.discPath)) {
      AttachStore(DiscStore::Open(config_.discPath, nullptr));
      changed = store_ != nullptr;
    }
  } else if (store_->ChangedOutside()) {
    AttachStore(DiscStore::Open(config_.discPath, nullptr));
    changed = true;
  }
  if (changed) {
    locked_ = false;
    RefreshMirror();
  }
}

const Faults& Device::faults() const {
  static const Faults kNone;
  return faultsArmed_ ? config_.faults : kNone;
}

const Sense* Device::MediumProblem() const {
  if (faults().notReady) return &kNotReadyCause;
  if (!store_ || !store_->loaded()) return &kMediumNotPresent;
  return nullptr;
}

uint8_t Device::Fail(const Sense& sense, int64_t information) {
  pending_ = sense;
  if (information >= 0) {
    pending_.infoValid = true;
    pending_.information = static_cast<uint32_t>(information);
  }
  return kStatusCheckCondition;
}

uint8_t Device::ReplyIn(Request& request, const std::vector<uint8_t>& reply, uint32_t allocation) {
  uint32_t count = std::min<uint32_t>(allocation, static_cast<uint32_t>(reply.size()));
  if (count == 0) return Good();
  if (request.direction != DataDirection::In || request.buffer == nullptr) return Fail(kDataPhaseError);
  count = std::min(count, request.length);
  std::memcpy(request.buffer, reply.data(), count);
  request.transferred = count;
  return Good();
}

bool Device::TakeOut(const Request& request, uint32_t needed) const {
  if (needed == 0) return true;
  return request.direction == DataDirection::Out && request.buffer != nullptr && request.length >= needed;
}

Outcome Device::Execute(const uint8_t* cdb, size_t cdbLength, DataDirection direction, uint8_t* buffer,
                        uint32_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  Request request;
  std::memcpy(request.cdb, cdb, std::min<size_t>(cdbLength, sizeof request.cdb));
  request.direction = direction;
  request.buffer = buffer;
  request.length = length;
  uint8_t opcode = request.cdb[0];
  bool transfer = opcode == 0x28 || opcode == 0x2A;
  std::error_code ignored;
  faultsArmed_ = config_.faultsArmedBy.empty() || std::filesystem::exists(config_.faultsArmedBy, ignored);
  if (!transfer) SyncWithStore();
  // SPC-3 5.2.2: sense data is kept for REQUEST SENSE and cleared by any
  // other command.
  if (opcode != 0x03) pending_ = kNoSense;
  uint8_t status;
  // SAM-3 5.2: a control byte with NACA, Flag or Link set is refused.
  uint8_t control = request.cdb[CommandLength(opcode) - 1];
  if (cdbLength < 6) {
    status = Fail(kInvalidFieldInCdb);
  } else if ((control & 0x07) != 0) {
    status = Fail(kInvalidFieldInCdb);
  } else {
    status = Dispatch(request);
  }
  if (!transfer && dirty_) SaveStore();
  Outcome outcome;
  outcome.status = status;
  outcome.transferred = request.transferred;
  outcome.busyMs = request.busyMs;
  outcome.neverCompletes = request.neverCompletes || faults().NeverFinishes(opcode);
  outcome.sense = status == kStatusCheckCondition ? pending_ : kNoSense;
  ++sequence_;
  if (trace_) {
    trace_->Append(FormatTraceLine(address_, sequence_, cdb, cdbLength, direction, length, request.transferred,
                                   status, outcome.sense));
  }
  return outcome;
}

uint8_t Device::Dispatch(Request& r) {
  switch (r.cdb[0]) {
    case 0x00: return TestUnitReady(r);
    case 0x01: return RezeroUnit(r);
    case 0x03: return RequestSense(r);
    case 0x12: return Inquiry(r);
    case 0x1B: return StartStopUnit(r);
    case 0x1E: return PreventAllow(r);
    case 0x28: return Read10(r);
    case 0x2A: return Write10(r);
    case 0x35: return SynchronizeCache(r);
    case 0x43: return ReadToc(r);
    case 0x51: return ReadDiscInformation(r);
    case 0x52: return ReadTrackInformation(r);
    case 0x55: return ModeSelect10(r);
    case 0x5A: return ModeSense10(r);
    case 0x5B: return CloseTrackSession(r);
    case 0x5C: return ReadBufferCapacity(r);
    case 0xA1: return Blank(r);
    case 0xBB: return SetCdSpeed(r);
    default: return Fail(kInvalidOpcode);
  }
}

// TEST UNIT READY (SPC-3 6.33). Bytes 1-4 are reserved; drives ignore them
// here, and initiators that put a 1 into byte 1 work with them.
uint8_t Device::TestUnitReady(Request&) {
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  return Good();
}

// REZERO UNIT (SCSI-2 9.2.13): seeks to LBA 0; needs a medium.
uint8_t Device::RezeroUnit(Request&) {
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  return Good();
}

// REQUEST SENSE (SPC-3 6.27): fixed format only (DESC clear); an allocation
// length of 0 transfers nothing and is not an error.
uint8_t Device::RequestSense(Request& r) {
  if ((r.cdb[1] & 0x01) != 0 || r.cdb[2] != 0 || r.cdb[3] != 0) return Fail(kInvalidFieldInCdb);
  std::vector<uint8_t> reply(kFixedSenseLength);
  Sense sense = pending_;
  pending_ = kNoSense;
  EncodeFixedSense(sense, reply.data());
  return ReplyIn(r, reply, r.cdb[4]);
}

// INQUIRY (SPC-3 6.4): standard data only; 96 bytes.
uint8_t Device::Inquiry(Request& r) {
  if ((r.cdb[1] & 0x01) != 0 || r.cdb[2] != 0) return Fail(kInvalidFieldInCdb);
  std::vector<uint8_t> reply(96, 0);
  reply[0] = static_cast<uint8_t>(config_.identity.deviceType & 0x1F);
  reply[1] = 0x80;  // RMB: removable medium
  reply[2] = 0x00;  // no claim to a version of the standard, as MMC drives answer
  reply[3] = 0x02;  // response data format 2
  reply[4] = static_cast<uint8_t>(reply.size() - 5);
  auto put = [&reply](size_t at, size_t width, const std::string& text) {
    for (size_t i = 0; i < width; ++i) reply[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
  };
  put(8, 8, config_.identity.vendor);
  put(16, 16, config_.identity.product);
  put(32, 4, config_.identity.revision);
  for (size_t i = 0; i < 4 && i < config_.identity.vendorSpecific.size(); ++i) {
    reply[36 + i] = static_cast<uint8_t>(config_.identity.vendorSpecific[i]);
  }
  return ReplyIn(r, reply, Get16(&r.cdb[3]));
}

// START STOP UNIT (MMC-3 6.1.24 / SBC): LoEj with Start loads, LoEj alone
// ejects (refused while removal is prevented); Start alone spins up.
uint8_t Device::StartStopUnit(Request& r) {
  if ((r.cdb[4] & 0xFC) != 0) return Fail(kInvalidFieldInCdb);
  bool loadEject = (r.cdb[4] & 0x02) != 0;
  bool start = (r.cdb[4] & 0x01) != 0;
  if (!loadEject) {
    if (start && faults().notReady) return Fail(kNotReadyCause);
    return Good();
  }
  if (!start) {
    if (locked_) return Fail(kMediumRemovalPrevented);
    if (store_ && store_->loaded()) {
      store_->set_loaded(false);
      dirty_ = true;
      SaveStore();
      RefreshMirror();
    }
    return Good();
  }
  if (store_ && !store_->loaded()) {
    store_->set_loaded(true);
    dirty_ = true;
    SaveStore();
    RefreshMirror();
  }
  return Good();
}

// PREVENT ALLOW MEDIUM REMOVAL (MMC-3 6.1.14): prevent field 00b allows,
// 01b prevents; the persistent forms are not supported.
uint8_t Device::PreventAllow(Request& r) {
  if ((r.cdb[4] & 0xFE) != 0) return Fail(kInvalidFieldInCdb);
  locked_ = (r.cdb[4] & 0x01) != 0;
  return Good();
}

namespace {

// Supported write speeds: multiples of 176 kB/s up to the maximum.
uint16_t NearestSpeed(uint32_t requested, uint16_t maximum) {
  static constexpr uint16_t kFactors[] = {1, 2, 4, 8, 10, 12, 16, 20, 24, 32, 40, 48, 52};
  uint16_t chosen = static_cast<uint16_t>(std::min<uint32_t>(176, maximum));
  for (uint16_t factor : kFactors) {
    uint32_t speed = 176u * factor;
    if (speed <= maximum && speed <= requested) chosen = static_cast<uint16_t>(speed);
  }
  if (requested >= maximum) chosen = maximum;
  return chosen;
}

}  // namespace

// SET CD SPEED (MMC-3 6.1.22): FFFFh asks for the maximum; a speed the
// drive cannot run is rounded down to one it can. Rotational control other
// than CLV (00b) is not supported. A 12-byte command; bytes 6-11 reserved.
uint8_t Device::SetCdSpeed(Request& r) {
  if ((r.cdb[1] & 0x03) != 0) return Fail(kInvalidFieldInCdb);
  for (int i = 6; i < 11; ++i) {
    if (r.cdb[i] != 0) return Fail(kInvalidFieldInCdb);
  }
  if (faults().setSpeedFails) return Fail(kInvalidFieldInCdb);
  readSpeedKBps_ = NearestSpeed(Get16(&r.cdb[2]), config_.capabilities.maxReadSpeedKBps);
  writeSpeedKBps_ = NearestSpeed(Get16(&r.cdb[4]), config_.capabilities.maxWriteSpeedKBps);
  return Good();
}

// READ BUFFER CAPACITY (MMC-3 6.1.15): the model writes through, so the
// whole buffer is always free. Block form (byte 1 bit 0) not supported.
uint8_t Device::ReadBufferCapacity(Request& r) {
  if ((r.cdb[1] & 0x01) != 0) return Fail(kInvalidFieldInCdb);
  std::vector<uint8_t> reply(12, 0);
  Put16(&reply[0], 10);
  uint32_t bytes = static_cast<uint32_t>(config_.capabilities.bufferKB) * 1024u;
  Put32(&reply[4], bytes);
  Put32(&reply[8], bytes);
  return ReplyIn(r, reply, Get16(&r.cdb[7]));
}

uint64_t Device::SimulatedMs(int64_t blocks) const {
  // 75 blocks per second at 1X (176 kB/s).
  uint64_t speedX = std::max<uint64_t>(1, writeSpeedKBps_ / 176u);
  double ms = static_cast<double>(blocks) * 1000.0 / (75.0 * static_cast<double>(speedX));
  return static_cast<uint64_t>(ms * config_.timeScale);
}

}  // namespace tarvo::vrec
