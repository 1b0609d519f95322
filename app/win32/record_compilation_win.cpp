#include "app/win32/record_compilation_win.h"

#include "app/win32/app_state.h"
#include "browser/list_files.h"
#include "iso/recording_entry.h"

namespace tarvo {

namespace {

class NoProgress : public ProgressMeter {
 public:
  void Begin(uint32_t) override {}
  void Step(uint32_t) override {}
  void End() override {}
};

}  // namespace

RecordingHookup& RecordingHooks() {
  static RecordingHookup hookup;
  return hookup;
}

int RecordCompilation(HWND, const char* label, const char* imageFileName, uint32_t includeFileData,
                      uint32_t writeSpeedKBps, uint32_t multiSession, uint32_t copyFlag, int drive) {
  const RecordingHookup& hooks = RecordingHooks();
  if (hooks.drives == nullptr) return 0;  // the dialog never handed over its drives
  NoProgress noProgress;
  RecordingServices services(*hooks.drives, hooks.progress != nullptr ? *hooks.progress : noProgress);
  services.programDir = App().programDir;
  services.used = hooks.usedBytes != nullptr ? hooks.usedBytes() : 0;
  services.listPath = currentListPath;
  if (hooks.volumeTexts != nullptr) services.texts = hooks.volumeTexts();

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
