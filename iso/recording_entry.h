// RecordCompilation as the main dialog's start button calls it: the choice of
// route (an image file when a file name is given, else the disc in the
// selected recorder), with everything the run reads from the rest of the
// program passed in, so the whole call runs natively against the virtual
// recorder as it runs in the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/user_seam.h"
#include "drive/drive_access.h"
#include "iso/image_route.h"
#include "iso/recorder.h"

namespace tarvo {

// The arguments of the start button's call.
struct RecordingCall {
  std::string label;                         // converted in place
  std::optional<std::string> imageFileName;  // none: record onto the disc
  uint32_t includeFileData = 0;
  uint32_t writeSpeedKBps = 0;
  uint32_t multiSession = 0;
  uint32_t copyFlag = 0;
  int drive = 0;
};

// What the run reads from the rest of the program.
struct RecordingServices {
  RecordingServices(DriveAccess& driveAccess, ProgressMeter& meter) : drives(driveAccess), progress(meter) {}
  DriveAccess& drives;  // drive table, lastTrackPvdLba, the user interface, the title
  ProgressMeter& progress;
  std::string programDir;
  uint32_t used = 0;      // the capacity gauge's used figure
  std::string listPath;   // currentListPath
  VolumeTexts texts;
  FreeSpaceProbe freeSpace = FreeSpaceOf;
  RecordDate (*clock)() = CurrentUtcTime;
};

// Returns 1 when the volume was written, 0 otherwise.
int RecordCompilation(RecordingCall& call, RecordingServices& services);

}  // namespace tarvo
