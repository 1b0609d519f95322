#include "drive/erase.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "drive/command_set.h"
#include "drive/scsi_status.h"

namespace tarvo {

namespace {

// 1X is 75 sectors a second; the lead-in part the drive rewrites as well.
constexpr int32_t kSectorsPerSecond = 75;
constexpr int32_t kEstimateOverhead = 160;
constexpr int32_t kQuickBase = 17280;
constexpr int32_t kQuickStep = 2880;
constexpr uint16_t kKBpsPerX = 176;
constexpr uint16_t kMaxSpeed = 0xFFFF;

}  // namespace

uint8_t BlankingType(EraseMode mode) {
  switch (mode) {
    case EraseMode::Full: return 0x00;
    case EraseMode::Fast: return 0x01;
    case EraseMode::LastSession: return 0x06;
  }
  return 0x01;
}

int32_t EraseSectorEstimate(EraseMode mode, int32_t speedX, int32_t lastTrackEnd) {
  int32_t sectors = 0;
  if (mode == EraseMode::Full) {
    sectors = lastTrackEnd;
  } else if (speedX > 6) {
    sectors = kQuickBase - (speedX / 4) * kQuickStep;
  } else if (speedX < 6) {
    sectors = kQuickBase + (5 - speedX) * kQuickStep;
  } else {
    sectors = kQuickBase;
  }
  return sectors < 0 ? 0 : sectors;
}

int32_t EraseSecondsEstimate(int32_t sectors, int32_t speedX) {
  if (sectors < 0) sectors = 0;
  if (speedX < 1) speedX = 1;
  return ((sectors + kEstimateOverhead) / kSectorsPerSecond) / speedX + 1;
}

std::string EraseTimeText(int32_t seconds) {
  char text[96];
  std::snprintf(text, sizeof text, "Erasing time, about: %d sec, when door opens it is finished.",
                static_cast<int>(seconds));
  return text;
}

uint8_t BlankAndWait(DriveAccess& access, EraseSeams& seams, EraseMode mode, int32_t speedX,
                     int drive) {
  const uint64_t end = uint64_t{access.trackInfo.NextWriteableAddress} + access.trackInfo.FreeBlocks;
  const int32_t lastTrackEnd = end > INT32_MAX ? INT32_MAX : static_cast<int32_t>(end);
  const int32_t sectors = EraseSectorEstimate(mode, speedX, lastTrackEnd);
  const int32_t seconds = EraseSecondsEstimate(sectors, speedX);

  // The estimate and the meter are shown as BLANK starts; the clock is read
  // just before it so every whole second the command runs gives one step.
  uint64_t shownSeconds = seams.nowMs() / 1000;
  seams.meter.Begin(seconds + 3);
  access.ui.SetStatusText(EraseTimeText(seconds));

  const uint8_t status = Blank(access, drive, BlankingType(mode), [&] {
    if (seams.dispatchPaint) seams.dispatchPaint();
    const uint64_t now = seams.nowMs() / 1000;
    while (shownSeconds < now) {
      ++shownSeconds;
      seams.meter.Step();
    }
  });

  seams.meter.End();
  if (status == kStatusGood) access.ui.SetStatusText(kEraseDoneText);
  return status;
}

int EraseDisc(DriveAccess& access, EraseSeams& seams, EraseMode mode, int32_t speedX, int drive) {
  if (speedX < 1) speedX = 1;
  StartStopUnit(access, drive, kStartDisc);
  StartStopUnit(access, drive, kLoadDisc);
  if (TestUnitReady(access, drive, 0) != kStatusGood) {
    access.ShowError(kDriveNotReadyText);
    return 0;
  }
  RezeroUnit(access, drive);
  ReadBufferCapacity(access, drive);

  // From here on the tray stays locked until the erase is over, whatever
  // fails; the eject at the end tells the user it is finished.
  PreventAllowMediumRemoval(access, drive, true);
  int result = 0;
  [&] {
    const uint8_t discStatus = ReadDiscInformation(access, false, drive);
    if (discStatus != kStatusGood) {
      access.ShowError(kDiscInfoErrorText);
      RequestSense(access, drive);
      ShowScsiStatus(access, discStatus);
      return;
    }
    if (!access.discInfo.isEraseable) {
      access.ShowError(kNotErasableText);
      return;
    }
    const uint8_t trackStatus =
        ReadTrackInformation(access, true, access.discInfo.nLastTrack, false, drive);
    if (trackStatus != kStatusGood) {
      access.ShowError(kTrackInfoErrorText);
      ShowScsiStatus(access, trackStatus);
      return;
    }
    const int32_t kbps = speedX * kKBpsPerX;
    const uint16_t writeSpeed = kbps > kMaxSpeed ? kMaxSpeed : static_cast<uint16_t>(kbps);
    const uint8_t speedStatus = SetCdSpeed(access, drive, kMaxSpeed, writeSpeed);
    if (speedStatus != kStatusGood) {
      ShowScsiStatus(access, speedStatus);
      return;
    }
    const uint8_t blankStatus = BlankAndWait(access, seams, mode, speedX, drive);
    if (blankStatus == kStatusGood) {
      result = 1;
    } else {
      ShowScsiStatus(access, blankStatus);
    }
  }();
  PreventAllowMediumRemoval(access, drive, false);
  StartStopUnit(access, drive, kEjectDisc);
  return result;
}

}  // namespace tarvo
