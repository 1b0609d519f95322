#include "iso/disc_route.h"

#include "drive/command_set.h"
#include "iso/file_access.h"
#include "iso/iso_numbers.h"
#include "iso/recorder_texts.h"
#include "iso/session_import.h"
#include "iso/write_preparation.h"

namespace tarvo {

int DiscSectorSink::WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (WriteSector(access_, data + size_t(i) * kSectorSize, address + i, drive_) != 1) return 0;
  }
  return 1;
}

unsigned long EndSessionEstimateMb(uint64_t volumeSpaceSize) {
  return static_cast<unsigned long>((volumeSpaceSize * 2048 + 2500000) / 1000000 + 1);
}

DiscRoute::DiscRoute(DriveAccess& access, int drive, DiscRecordingOptions options)
    : access_(access), drive_(drive), options_(options), sink_(access, drive) {}

int DiscRoute::Start(UserSeam& user, const std::string& title) {
  const uint32_t descriptor = access_.lastTrackPvdLba;
  if (descriptor == 0) return 1;  // a disc without a track: nothing to carry over
  const SectorReader read = [this](uint32_t address, uint8_t* sector) {
    return TransferBlocks(access_, drive_, kOpRead10, sector, address, 1) == kStatusGood;
  };
  previous_ = ImportPreviousSession(read, descriptor);
  if (previous_.imported) return 1;
  if (user.ShowMessage(texts::kPreviousSessionLost, title, kMbYesNo | kMbIconQuestion) != kIdYes) {
    user.SetStatusText(texts::kRecordingCanceled);
    return 0;
  }
  return 1;
}

const PreviousSession* DiscRoute::PreviousSessionExtents() const {
  return previous_.imported ? &previous_ : nullptr;
}

int64_t DiscRoute::PrepareForWrite(UserSeam&, const std::string&) {
  const int64_t start =
      tarvo::PrepareForWrite(access_, options_.writeSpeedKBps, options_.multiSession, options_.copyFlag, drive_);
  locked_ = start >= 0;
  return start;
}

void DiscRoute::OnWriteFailure(UserSeam& user, const std::string& title, uint64_t volumeSpaceSize) {
  // WriteSector has unlocked the medium already.
  locked_ = false;
  const std::string question = FormatPrintf(texts::kWriteFailedEndSession, EndSessionEstimateMb(volumeSpaceSize));
  if (user.ShowMessage(question, title, kMbYesNo | kMbIconStop) == kIdYes) CloseSession(access_, drive_);
}

int DiscRoute::Finish(UserSeam& user, const std::string&) {
  user.SetStatusText(texts::kClosingSession);
  // A session the drive did not close holds no readable volume; the drive's
  // status has been shown and the disc unlocked and ejected.
  const int closed = CloseSession(access_, drive_);
  locked_ = false;
  return closed;
}

void DiscRoute::Abandon() {
  // A run that ends after the preparation never leaves the disc locked in.
  if (locked_) PreventAllowMediumRemoval(access_, drive_, false);
  locked_ = false;
}

std::string DiscRoute::SuccessText() const { return texts::kDiscRecorded; }

}  // namespace tarvo
