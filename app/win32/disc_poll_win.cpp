// The poll timer 2203 and what the dialog shows after each disc check.
#include <windows.h>

#include "app/disc_status.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/dialog_hooks.h"
#include "app/win32/main_dialog.h"
#include "drive/disc_query.h"

namespace tarvo {

int32_t OnTimer(HWND dialog, UINT, WPARAM timerId, LPARAM) {
  MainDialogState& s = MainState();
  if (s.aspiReady != 1) {
    StopPollTimer(dialog);
    return 0;
  }
  if (timerId != kPollTimerId) return 0;
  StopPollTimer(dialog);
  if (PollTickChecksDisc(s.pollSkip, Drives().discState.discReady)) {
    CheckDisc(Drives(), s.selectedDrive);
    UpdateDiscStatus(dialog);
  }
  StartPollTimer(dialog, 3000);
  return 0;
}

void UpdateDiscStatus(HWND dialog) {
  MainDialogState& s = MainState();
  const DiscState& disc = Drives().discState;
  const CdDrive& drive = DriveEntry(s.selectedDrive);
  DiscStatusInput in;
  in.discReady = disc.discReady;
  in.writable = disc.writable;
  in.lastTrackNumber = disc.lastTrackNumber;
  in.page = s.currentPage;
  in.canWriteCdR = drive.canWriteCdR;
  in.canWriteCdRw = drive.canWriteCdRw;
  in.startWasEnabled = IsWindowEnabled(GetDlgItem(dialog, kStartButton)) != 0;
  const DiscStatusView view = DecideDiscStatus(in);

  for (int id : DiscDependentControls()) EnableWindow(GetDlgItem(dialog, id), view.discControlsEnabled);
  if (view.label != LabelEnabling::Untouched) EnableWindow(GetDlgItem(dialog, 301), view.label == LabelEnabling::Enable);
  s.canStart = view.canStart;
  SetDlgItemTextA(dialog, kStatusText, view.statusText.c_str());
  if (view.refreshGauge) RefreshGaugeText(dialog, view.gaugeReadFlag);
  EnableWindow(GetDlgItem(dialog, 300), view.enableAddAndStart);
  EnableWindow(GetDlgItem(dialog, kStartButton), view.enableAddAndStart);
}

}  // namespace tarvo
