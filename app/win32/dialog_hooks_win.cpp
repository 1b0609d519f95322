// What the main dialog's calls into the later parts do until those parts are
// wired in. Each of them replaces its own function here.
#include "app/win32/dialog_hooks.h"

#include <cstdio>

#include "app/progress_meter.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "app/win32/progress_meter_win.h"
#include "drive/disc_query.h"

namespace tarvo {
namespace {

GaugeFigures& Gauge() {
  static GaugeFigures figures;
  return figures;
}

}  // namespace

int RecordCompilation(HWND, const char*, const char*, uint32_t, uint32_t, uint32_t, uint32_t, int) { return 0; }

int EraseDisc(HWND, int, int, int) { return 0; }

void SectorViewerCommand(HWND, uint16_t, int) {}

void ResetSectorViewer(int) {}

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
