// What the main dialog's calls into the later parts do until those parts are
// wired in. Each of them replaces its own function here.
#include "app/win32/dialog_hooks.h"

#include <cstdio>

#include "app/progress_meter.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "app/win32/progress_meter_win.h"
#include "drive/disc_query.h"
#include "drive/erase.h"

namespace tarvo {
namespace {

GaugeFigures& Gauge() {
  static GaugeFigures figures;
  return figures;
}

}  // namespace

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

// The disc's own figures, without the charges of a compilation, until the
// capacity gauge with the browser's charges takes over.
void RefreshGaugeText(HWND dialog, int readFlag) {
  if (readFlag == 1) {
    const DiscSpace space = GetDiscSpace(Drives(), MainState().selectedDrive);
    Gauge() = {space.total, space.used, space.free};
  }
  char text[kStatusLineTextSize];
  std::snprintf(text, sizeof text, "CD->MB   Total: %lu   Free: %lu   Used: %lu", (unsigned long)(Gauge().total >> 20),
                (unsigned long)(Gauge().free >> 20), (unsigned long)(Gauge().used >> 20));
  SetStatusLine(dialog, text);
}

GaugeFigures CurrentGaugeFigures() { return Gauge(); }

}  // namespace tarvo
