// RecordCompilation as the main dialog's start button (305) calls it, on the
// recording page (imageFileName null: onto the disc of `drive`) and on the
// image page (into the named file).
#pragma once

#include <windows.h>

#include <cstdint>

#include "drive/drive_access.h"
#include "iso/iso_structures.h"
#include "iso/recorder_seams.h"

namespace tarvo {

// Returns 1 when the volume was written, 0 otherwise.
int RecordCompilation(HWND dialog, const char* label, const char* imageFileName, uint32_t includeFileData,
                      uint32_t writeSpeedKBps, uint32_t multiSession, uint32_t copyFlag, int drive);

// What the recording takes from the main dialog, set once when the dialog
// starts, e.g.
//   static StepwiseProgress<ProgressSink> meter(MainDialogProgress());
//   RecordingHooks() = {&Drives(), &meter, [] { return CurrentGaugeFigures().used; }, CurrentVolumeTexts};
struct RecordingHookup {
  DriveAccess* drives = nullptr;       // the drive table and the dialog as the user interface
  ProgressMeter* progress = nullptr;   // the meter on control 501; none: no progress shown
  uint32_t (*usedBytes)() = nullptr;   // the capacity gauge's used figure
  VolumeTexts (*volumeTexts)() = nullptr;  // data preparer and copyright file texts
};
RecordingHookup& RecordingHooks();

}  // namespace tarvo
