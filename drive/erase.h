// Erasing a rewritable disc: BLANK (MMC-3 6.2) with a time estimate shown up
// front and a progress meter stepped once per elapsed second while the drive
// works. The tray is locked for the whole erase and ejected at its end; the
// eject is what the user is told to wait for.
#pragma once

#include <cstdint>
#include <functional>

#include "app/progress_meter.h"
#include "drive/drive_access.h"

namespace tarvo {

enum class EraseMode : uint8_t { Full = 0, Fast = 1, LastSession = 2 };

inline constexpr char kDriveNotReadyText[] = "Drive not ready !";
inline constexpr char kDiscInfoErrorText[] = "Error Reading Disc Information";
inline constexpr char kNotErasableText[] =
    "This CDR can not be erased, becouse it is not ReWriteable CDR disk";
inline constexpr char kTrackInfoErrorText[] = "Error Reading Track Information";
inline constexpr char kEraseDoneText[] = "Congratulation, selected part of the CD-RW was erased.";

// BLANK byte 1 blanking type (MMC-3 table 123): 00h whole disc, 01h minimal,
// 06h blank the last session. 05h would only unclose the session and erase
// nothing, so it is not used for "Erase only the Last Session".
uint8_t BlankingType(EraseMode mode);

// Sectors the drive will rewrite: the last track's end for a full erase,
// otherwise a figure that only depends on the speed. Never negative: at the
// speeds where the formula drops below zero (28X and up) the estimate of 24X
// (0) is used.
int32_t EraseSectorEstimate(EraseMode mode, int32_t speedX, int32_t lastTrackEnd);

// Seconds: (sectors + 160) / 75 at 1X, divided by the speed, plus one.
int32_t EraseSecondsEstimate(int32_t sectors, int32_t speedX);

// "Erasing time, about: %d sec, when door opens it is finished."
std::string EraseTimeText(int32_t seconds);

// What the erase needs besides the drive: the meter on the status line, a
// monotonic seconds source and the paint pump that keeps the dialog drawn
// while BLANK runs (nothing but paint messages may be dispatched there).
struct EraseSeams {
  ProgressSink& meter;
  std::function<uint64_t()> nowMs;
  std::function<void()> dispatchPaint;
};

// Issues BLANK and waits for it, stepping the meter; returns BLANK's status.
// The sector estimate of a full erase comes from access.trackInfo.
uint8_t BlankAndWait(DriveAccess& access, EraseSeams& seams, EraseMode mode, int32_t speedX,
                     int drive);

// The whole erase. 1 when BLANK completed with good status, else 0.
int EraseDisc(DriveAccess& access, EraseSeams& seams, EraseMode mode, int32_t speedX, int drive);

}  // namespace tarvo
