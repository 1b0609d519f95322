// What the main dialog's calls into the later parts do until those parts are
// wired in. Each of them replaces its own function here.
#include "app/win32/dialog_hooks.h"

#include "app/progress_meter.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "app/win32/progress_meter_win.h"
#include "browser/capacity_gauge.h"
#include "drive/disc_query.h"
#include "drive/erase.h"

namespace tarvo {

int EraseDisc(HWND dialog, int eraseMode, int speedFactor, int drive) {
  // Only paint messages are taken from the queue while BLANK runs: input and
  // timers (the disc check among them) wait until the erase is over. The cap
  // keeps a window that never validates itself from holding the wait.
  EraseSeams seams{MainDialogProgress(), [] { return static_cast<uint64_t>(GetTickCount()); }, [] {
                     MSG message;
                     for (int i = 0; i < 256 && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
                       DispatchMessageA(&message);
                     }
                   }};
  (void)dialog;
  return EraseDisc(Drives(), seams, static_cast<EraseMode>(eraseMode < 0 || eraseMode > 2 ? 1 : eraseMode), speedFactor, drive);
}

// The capacity gauge: the disc is read when it has just become ready; the
// line carries the compilation's charges.
void RefreshGaugeText(HWND dialog, int readFlag) {
  if (readFlag == 1) {
    const DiscSpace space = GetDiscSpace(Drives(), MainState().selectedDrive);
    Gauge().ReadDisc({space.total, space.used, space.free});
  }
  SetStatusLine(dialog, GaugeLine(Gauge(), MainState().currentPage).c_str());
}

GaugeFigures CurrentGaugeFigures() { return {Gauge().total, Gauge().used, Gauge().free}; }

}  // namespace tarvo
