// The start button's recording (declared with the dialog's other hooks): the
// drives, the meter on control 501, the gauge's used figure, the list the
// browser saved last and the volume texts, handed to the portable recorder.
#include <string>

#include "app/progress_meter.h"
#include "app/volume_texts.h"
#include "app/win32/app_state.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/dialog_hooks.h"
#include "app/win32/progress_meter_win.h"
#include "browser/list_files.h"
#include "iso/recording_entry.h"
#include "iso/stepwise_progress.h"

namespace tarvo {

int RecordCompilation(HWND, const char* label, const char* imageFileName, uint32_t includeFileData,
                      uint32_t writeSpeedKBps, uint32_t multiSession, uint32_t copyFlag, int drive) {
  StepwiseProgress<ProgressSink> meter(MainDialogProgress());
  RecordingServices services(Drives(), meter);
  services.programDir = App().programDir;
  services.used = CurrentGaugeFigures().used;
  services.listPath = currentListPath;
  services.texts = CurrentVolumeTexts();

  RecordingCall call;
  call.label = label != nullptr ? label : "";
  if (imageFileName != nullptr) call.imageFileName = std::string(imageFileName);
  call.includeFileData = includeFileData;
  call.writeSpeedKBps = writeSpeedKBps;
  call.multiSession = multiSession;
  call.copyFlag = copyFlag;
  call.drive = drive;
  return RecordCompilation(call, services);
}

}  // namespace tarvo
