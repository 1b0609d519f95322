// The main dialog's commands: the drive list, the information page's
// reports, "Reset disc", "Browse", the start button and the hooks into the
// later parts.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "app/page_layout.h"
#include "app/settings.h"
#include "app/start_checks.h"
#include "app/win32/app_state.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/dialog_hooks.h"
#include "app/win32/main_dialog.h"
#include "app/win32/volume_texts_dialog.h"
#include "browser/browser_window_win.h"
#include "drive/command_set.h"
#include "drive/disc_query.h"

namespace tarvo {
namespace {

int Ask(HWND dialog, const char* text) { return MessageBoxA(dialog, text, App().title, MB_YESNO | MB_ICONQUESTION); }

void Refuse(HWND dialog, const StartVerdict& verdict) {
  MessageBoxA(dialog, verdict.message.c_str(), App().title, MB_ICONHAND);
  SetFocus(GetDlgItem(dialog, verdict.focusId));
}

std::string ItemText(HWND dialog, int id, int size) {
  std::string text(size_t(size), '\0');
  text.resize(size_t(GetDlgItemTextA(dialog, id, text.data(), size)));
  return text;
}

int SelectedSpeedIndex(HWND dialog) { return int(SendDlgItemMessageA(dialog, kSpeedList, CB_GETCURSEL, 0, 0)); }

void Browse(HWND dialog) {
  char path[512] = "*.*";
  OPENFILENAMEA dialogBox = {};
  dialogBox.lStructSize = sizeof dialogBox;
  dialogBox.hwndOwner = dialog;
  dialogBox.lpstrFile = path;
  dialogBox.nMaxFile = 255;
  dialogBox.lpstrTitle = "Open";
  dialogBox.lpstrDefExt = "iso";
  dialogBox.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (GetSaveFileNameA(&dialogBox)) SetDlgItemTextA(dialog, 306, path);
}

// A disc run or an erase ejects the disc at its end. With a ready disc the
// poll checks only every fourth tick; a disc put back within those twelve
// seconds would keep the figures of the disc as it was before (and the
// browser would then offer the old compilation instead of the disc's files).
// The next tick checks the drive.
void CheckDiscAtNextTick() { MainState().pollSkip = 3; }

void StartErase(HWND dialog) {
  MainDialogState& s = MainState();
  if (Ask(dialog, kEraseQuestionText) != IDYES) return;
  CurrentSettings().eraseMode = IsChecked(dialog, 400) ? 0 : IsChecked(dialog, 401) ? 1 : 2;
  StartRequest request;
  request.page = kPageErase;
  request.speedIndex = SelectedSpeedIndex(dialog);
  request.maxWriteSpeedKBps = DriveEntry(s.selectedDrive).maxWriteSpeedKBps;
  const StartVerdict verdict = CheckStart(request);
  if (!verdict.ok) return Refuse(dialog, verdict);
  EraseDisc(dialog, CurrentSettings().eraseMode, verdict.speedFactor, s.selectedDrive);
  CheckDiscAtNextTick();
}

void StartRecording(HWND dialog, int page) {
  MainDialogState& s = MainState();
  if (page == kPageRecording && Ask(dialog, kRecordQuestionText) != IDYES) return;
  GetDlgItemTextA(dialog, 301, s.volumeLabel, sizeof s.volumeLabel);
  StartRequest request;
  request.page = page;
  request.label = s.volumeLabel;
  if (page == kPageIsoFile) request.imageName = ItemText(dialog, 306, 260);
  request.speedIndex = SelectedSpeedIndex(dialog);
  request.maxWriteSpeedKBps = DriveEntry(s.selectedDrive).maxWriteSpeedKBps;
  const GaugeFigures gauge = CurrentGaugeFigures();
  request.used = gauge.used;
  request.total = gauge.total;
  const StartVerdict verdict = CheckStart(request);
  if (!verdict.ok) return Refuse(dialog, verdict);

  Settings& settings = CurrentSettings();
  if (page == kPageIsoFile) {
    settings.includeFileData = IsChecked(dialog, 302) ? 1 : 0;
    RecordCompilation(dialog, s.volumeLabel, request.imageName.c_str(), settings.includeFileData, 0, 0, 0,
                      s.selectedDrive);
    return;
  }
  FindLastTrackPvd(Drives(), s.selectedDrive);
  settings.copyFlag = IsChecked(dialog, 307) ? 1 : 0;
  settings.multiSession = IsChecked(dialog, 302) ? 1 : 0;
  RecordCompilation(dialog, s.volumeLabel, nullptr, 0, uint32_t(verdict.speedFactor) * 176, settings.multiSession,
                    settings.copyFlag, s.selectedDrive);
  CheckDiscAtNextTick();
}

void Start(HWND dialog) {
  const int page = CurrentTabPage(dialog);
  if (page == kPageErase) {
    StartErase(dialog);
  } else if (page == kPageRecording || page == kPageIsoFile) {
    StartRecording(dialog, page);
  }
}

void ActOn(HWND dialog, uint16_t id, uint16_t notification) {
  MainDialogState& s = MainState();
  switch (id) {
    case 201:
    case 202:
    case 203:
      if (s.aspiReady) QueryDriveInfo(Drives(), id == 201 ? kQueryDiscInfo : id == 202 ? kQueryTrackInfo : kQueryCapabilities,
                                      true, s.selectedDrive);
      break;
    case 207:
      if (notification == 333) {
        // A disc has just arrived: its primary volume descriptor gives the
        // volume label and the volume texts.
        FillVolumeTextsFromDisc(dialog, s.selectedDrive);
      } else {
        SectorViewerCommand(dialog, id, s.selectedDrive);
      }
      break;
    case 205:
    case 206:
    case 208:
    case 209:
    case 210:
    case 215:
      SectorViewerCommand(dialog, id, s.selectedDrive);
      break;
    case 299:
      Browse(dialog);
      break;
    case 300:
      OpenBrowser(dialog, s.selectedRootIndex);
      break;
    case kStartButton:
      Start(dialog);
      break;
    case 308:
      RunVolumeTextsDialog(nullptr);
      break;
    case 404:
      if (s.aspiReady) ResetDisc(Drives(), s.selectedDrive);
      break;
    default:
      break;
  }
}

}  // namespace

int32_t OnCommand(HWND dialog, uint16_t id, uint16_t notification, LPARAM) {
  StopPollTimer(dialog);
  if (MainState().selectedRootIndex != -1) ActOn(dialog, id, notification);
  if (CurrentTabPage(dialog) < 3) StartPollTimer(dialog, 3000);
  return 0;
}

// Only CBN_SELENDOK: the choice is final. The new drive is checked at the
// next tick of the poll timer.
int32_t OnDriveSelected(HWND dialog, uint16_t, uint16_t notification, LPARAM) {
  if (notification != CBN_SELENDOK) return 0;
  MainDialogState& s = MainState();
  const LRESULT pos = SendDlgItemMessageA(dialog, kDriveList, CB_GETCURSEL, 0, 0);
  if (pos == CB_ERR) return 0;
  s.selectedDrive = int32_t(pos);
  const LRESULT data = SendDlgItemMessageA(dialog, kDriveList, CB_GETITEMDATA, WPARAM(pos), 0);
  if (data != CB_ERR) s.selectedRootIndex = int32_t(data);
  SendDlgItemMessageA(dialog, kSpeedList, CB_RESETCONTENT, 0, 0);
  FillSpeedList(dialog, false);
  return 0;
}

}  // namespace tarvo
