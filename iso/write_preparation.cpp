#include "iso/write_preparation.h"

#include <vector>

#include "drive/command_set.h"
#include "drive/mode_pages.h"
#include "drive/scsi_status.h"
#include "iso/recorder_texts.h"

namespace tarvo {

namespace {

// Mode data of MODE SENSE(10): far more than the 256 bytes asked for.
constexpr size_t kModeDataBufferSize = 4096;

// Steps 5 to 9 of the preparation; the first failing one tells the user and
// ends the sequence. True when all succeeded.
bool SetWriteParameters(DriveAccess& access, std::vector<uint8_t>& modeData, uint32_t writeSpeedKBps,
                        bool multiSession, int copyFlag, int drive) {
  if (ReadDiscInformation(access, true, drive) != kStatusGood) {
    access.ShowError(texts::kErrorDiscInformation);
    return false;
  }
  if (ReadTrackInformation(access, true, access.discInfo.nLastTrack, true, drive) != kStatusGood) {
    access.ShowError(texts::kErrorTrackInformation);
    return false;
  }
  const ModePageLocation page = ModeSense10(access, modeData.data(), kWriteParametersPage, drive);
  if (!page) {
    access.ShowError(texts::kErrorModeSense);
    return false;
  }
  if (ModeSelect10(access, modeData.data(), page, multiSession, copyFlag, drive) != kStatusGood) {
    access.ShowError(texts::kErrorModeSelect);
    return false;
  }
  // MMC-3 5.31: FFFFh asks for the drive's fastest read speed.
  if (SetCdSpeed(access, drive, 0xFFFF, static_cast<uint16_t>(writeSpeedKBps)) != kStatusGood) {
    access.ShowError(texts::kErrorSpeed);
    return false;
  }
  return true;
}

}  // namespace

int64_t PrepareForWrite(DriveAccess& access, uint32_t writeSpeedKBps, bool multiSession, int copyFlag, int drive) {
  std::vector<uint8_t> modeData(kModeDataBufferSize, 0);
  StartStopUnit(access, drive, kStartDisc);
  StartStopUnit(access, drive, kLoadDisc);
  if (TestUnitReady(access, drive, 0x01) != kStatusGood) {
    access.ShowError(texts::kDriveNotReady);
    return -1;
  }
  RezeroUnit(access, drive);
  const bool parametersSet = SetWriteParameters(access, modeData, writeSpeedKBps, multiSession, copyFlag, drive);
  if (!parametersSet || !access.trackInfo.isValidNextWriteAddress) return -1;
  PreventAllowMediumRemoval(access, drive, true);
  return access.trackInfo.NextWriteableAddress;
}

int WriteSector(DriveAccess& access, const uint8_t* sector, uint32_t address, int drive) {
  // The command set takes a mutable buffer for both directions; WRITE(10)
  // only reads from it.
  if (TransferBlocks(access, drive, kOpWrite10, const_cast<uint8_t*>(sector), address, 1) == kStatusGood) return 1;
  RezeroUnit(access, drive);
  PreventAllowMediumRemoval(access, drive, false);
  return 0;
}

int CloseSession(DriveAccess& access, int drive) {
  TransferBlocks(access, drive, kOpSynchronizeCache, nullptr, 0, 0);
  const uint8_t status = CloseTrackSession(access, drive, false, 0);
  if (status != kStatusGood) ShowScsiStatus(access, status);
  PreventAllowMediumRemoval(access, drive, false);
  StartStopUnit(access, drive, kEjectDisc);
  return status == kStatusGood ? 1 : 0;
}

}  // namespace tarvo
