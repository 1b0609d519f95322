// What the main dialog's calls into the later parts do until those parts are
// wired in. Each of them replaces its own function here.
#include "app/win32/dialog_hooks.h"

#include "app/progress_meter.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "app/win32/progress_meter_win.h"
#include "browser/capacity_gauge.h"
#include "drive/disc_query.h"

namespace tarvo {

int RecordCompilation(HWND, const char*, const char*, uint32_t, uint32_t, uint32_t, uint32_t, int) { return 0; }

int EraseDisc(HWND, int, int, int) { return 0; }

void SectorViewerCommand(HWND, uint16_t, int) {}

void ResetSectorViewer(int) {}

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
