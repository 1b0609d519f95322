// READ(10), WRITE(10), SYNCHRONIZE CACHE, CLOSE TRACK/SESSION and BLANK:
// the commands that move sectors or change what is recorded.
#include <algorithm>

#include "vrec/cdb.h"
#include "vrec/device.h"

namespace tarvo::vrec {

namespace {

// Saving the metadata with every sector would cost a file replace per
// sector; like a drive's cache, recorded lengths reach the store at least
// every this many writes and with every other command.
constexpr int kWritesPerSave = 256;

}  // namespace

// READ(10) (MMC-3 6.1.11). RelAdr (byte 1 bit 0) is refused. Sectors that
// hold no user data fail: a run-out block or an area between sessions with
// an unrecovered read error, an address past everything recorded with LBA
// out of range. Sectors before a failing one are transferred.
uint8_t Device::Read10(Request& r) {
  if ((r.cdb[1] & 0x01) != 0 || r.cdb[6] != 0) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  int64_t lba = static_cast<int32_t>(Get32(&r.cdb[2]));
  uint32_t count = Get16(&r.cdb[7]);
  if (count == 0) return Good();
  if (r.direction != DataDirection::In || r.buffer == nullptr) return Fail(kDataPhaseError);
  const Disc& disc = store_->disc();
  for (uint32_t i = 0; i < count; ++i) {
    int64_t address = lba + i;
    if ((i + 1) * kSectorSize > r.length) return Fail(kDataPhaseError);
    Disc::Readability readability =
        address > INT32_MAX ? Disc::Readability::BeyondRecorded : disc.Classify(static_cast<int32_t>(address));
    if (readability == Disc::Readability::Unrecorded) return Fail(kUnrecoveredReadError, address);
    if (readability == Disc::Readability::BeyondRecorded) return Fail(kLbaOutOfRange, address);
    if (!store_->ReadSectors(static_cast<int32_t>(address), 1, r.buffer + i * kSectorSize)) {
      return Fail(kUnrecoveredReadError, address);
    }
    r.transferred = (i + 1) * kSectorSize;
  }
  return Good();
}

// WRITE(10) (MMC-3 6.1.26) in track-at-once mode: only at the next writable
// address, strictly sequential.
uint8_t Device::Write10(Request& r) {
  if ((r.cdb[1] & 0x01) != 0 || r.cdb[6] != 0) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  Disc& disc = store_->disc();
  if (disc.kind == MediaKind::CdRom) return Fail(kCannotWriteIncompatibleFormat);
  int64_t lba = static_cast<int32_t>(Get32(&r.cdb[2]));
  uint32_t count = Get16(&r.cdb[7]);
  int32_t next = disc.NextWritableAddress();
  if (next < 0 || lba != next) return Fail(kInvalidAddressForWrite, lba);
  if (count == 0) return Good();
  if (lba + count + kRunOutBlocks > disc.lastPossibleLeadOut) return Fail(kLbaOutOfRange, lba);
  if (!TakeOut(r, count * kSectorSize)) return Fail(kDataPhaseError);
  uint32_t good = count;
  int64_t failAt = faults().writeFailsAt;
  const int64_t removedAt = faults().removedAt;
  const bool removed = removedAt >= lba && removedAt < lba + count;
  if (removed) failAt = removedAt;
  if (failAt >= lba && failAt < lba + count) good = static_cast<uint32_t>(failAt - lba);
  if (good > 0) {
    if (!store_->WriteSectors(static_cast<int32_t>(lba), good, r.buffer)) return Fail(kWriteError, lba);
    disc.Record(static_cast<int32_t>(lba), static_cast<int32_t>(good), writeParameters_[3] & 0x1F);
    dirty_ = true;
    r.transferred = good * kSectorSize;
    if (++writesSinceSave_ >= kWritesPerSave) SaveStore();
  }
  if (removed) {
    store_->set_loaded(false);
    dirty_ = true;
    SaveStore();
    RefreshMirror();
    return Fail(kMediumNotPresent, failAt);
  }
  if (good < count) return Fail(kWriteError, failAt);
  return Good();
}

// SYNCHRONIZE CACHE (MMC-3 6.1.25). RelAdr refused.
uint8_t Device::SynchronizeCache(Request& r) {
  if ((r.cdb[1] & 0x01) != 0) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  dirty_ = true;
  return Good();
}

// CLOSE TRACK/SESSION (MMC-3 6.1.2). Close function 001b closes the
// incomplete track named in bytes 4-5; 010b closes the session, the
// incomplete track with it, leaving the disc open for a next session when
// the write parameters' multi-session field is 11b and finalising it
// otherwise.
uint8_t Device::CloseTrackSession(Request& r) {
  if ((r.cdb[1] & 0xFE) != 0) return Fail(kInvalidFieldInCdb);
  uint8_t function = r.cdb[2] & 0x07;
  if ((r.cdb[2] & 0xF8) != 0 || (function != 1 && function != 2)) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  Disc& disc = store_->disc();
  if (!disc.Writable()) return Fail(kCommandSequenceError);
  if (faults().closeFails) return Fail(kSessionFixationError);
  const Track* open = disc.OpenTrack();
  auto pad = [this, &disc]() {
    const Track* track = disc.OpenTrack();
    int32_t from = track->start + track->recorded;
    int32_t blocks = disc.CloseTrack();
    if (blocks > 0) store_->WriteZeros(from, static_cast<uint32_t>(blocks));
  };
  if (function == 1) {
    if (open == nullptr || open->number != Get16(&r.cdb[4])) return Fail(kCommandSequenceError);
    pad();
  } else {
    if (disc.FirstTrackOfSession(disc.OpenSession()) == 0) return Fail(kCommandSequenceError);
    if (open != nullptr) pad();
    bool appendable = (writeParameters_[3] & 0xC0) == 0xC0;
    disc.CloseSession(appendable);
    // Writing lead-in and lead-out takes the time of their blocks.
    int32_t leadOut = disc.closedSessions == 1 ? kFirstLeadOutBlocks : kLaterLeadOutBlocks;
    r.busyMs = SimulatedMs(kLeadInBlocks + leadOut);
  }
  dirty_ = true;
  SaveStore();
  if (function == 2) RefreshMirror();
  return Good();
}

// BLANK (MMC-3 6.1.1), CD-RW only: 00h whole disc, 01h minimal (the disc
// reads as blank), 05h unclose the last session, 06h blank the last
// session. The command takes the time of the blocks it rewrites.
uint8_t Device::Blank(Request& r) {
  if ((r.cdb[1] & 0xE8) != 0) return Fail(kInvalidFieldInCdb);
  uint8_t type = r.cdb[1] & 0x07;
  bool immediate = (r.cdb[1] & 0x10) != 0;
  if (type != 0 && type != 1 && type != 5 && type != 6) return Fail(kInvalidFieldInCdb);
  for (int i = 2; i < 11; ++i) {
    if (r.cdb[i] != 0) return Fail(kInvalidFieldInCdb);
  }
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  Disc& disc = store_->disc();
  if (!disc.Erasable()) return Fail(kCannotFormatIncompatibleMedium);
  if (faults().blankFails) return Fail(kEraseFailure);
  int64_t work = 0;
  switch (type) {
    case 0:
      work = disc.lastPossibleLeadOut + kLeadInBlocks + kFirstLeadOutBlocks;
      disc.BlankFully();
      store_->Truncate(0);
      break;
    case 1:
      work = kLeadInBlocks + kFirstLeadOutBlocks + kPreGapBlocks;
      disc.BlankFully();
      store_->Truncate(0);
      break;
    case 5:
      if (!disc.UncloseLastSession()) return Fail(kCommandSequenceError);
      work = kFirstLeadOutBlocks;
      break;
    case 6: {
      int32_t from = 0, to = 0;
      if (!disc.BlankLastSession(&from, &to)) return Fail(kCommandSequenceError);
      work = (to - from) + kLeadInBlocks + kFirstLeadOutBlocks;
      if (disc.tracks.empty()) store_->Truncate(0);
      break;
    }
  }
  if (!immediate) r.busyMs = SimulatedMs(work);
  dirty_ = true;
  SaveStore();
  RefreshMirror();
  return Good();
}

}  // namespace tarvo::vrec
