// WM_INITDIALOG of the main dialog: drives, speeds, erase mode, tab pages,
// loading the disc and the poll timer, in that order.
#include <windows.h>
#include <commctrl.h>

#include "app/page_layout.h"
#include "app/settings.h"
#include "app/speed_list.h"
#include "app/win32/app_state.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "drive/aspi_transport_win.h"
#include "drive/command_set.h"

namespace tarvo {
namespace {

std::vector<DriveRoot> ReadDriveRoots() {
  char buffer[260] = {};
  DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
  if (length >= sizeof buffer) length = 0;  // the list did not fit and was not written
  return ParseDriveRoots(buffer, length, [](const std::string& root) { return uint32_t(GetDriveTypeA(root.c_str())); });
}

void FillDriveList(HWND dialog) {
  MainDialogState& s = MainState();
  const DriveListPlan plan = PlanDriveList(s.driveRoots, DriveTableSummary());
  for (const DriveListItem& item : plan.items) {
    const LRESULT at = SendDlgItemMessageA(dialog, kDriveList, CB_ADDSTRING, 0, LPARAM(item.text.c_str()));
    if (at >= 0) SendDlgItemMessageA(dialog, kDriveList, CB_SETITEMDATA, WPARAM(at), LPARAM(item.rootIndex));
  }
  s.selectedDrive = plan.selectedDrive;
  SendDlgItemMessageA(dialog, kDriveList, CB_SETCURSEL, WPARAM(s.selectedDrive), 0);
  // The list is sorted: the item's data, not the plan's order, names the root.
  s.selectedRootIndex = int32_t(SendDlgItemMessageA(dialog, kDriveList, CB_GETITEMDATA, WPARAM(s.selectedDrive), 0));
}

void SetupTabs(HWND dialog) {
  HWND tabs = GetDlgItem(dialog, kTabControl);
  SendMessageA(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(24, 24));
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 4, 0);
  const char* icons[] = {"IDI_TAB1", "IDI_TAB2", "IDI_TAB3", "IDI_TAB4"};
  for (const char* name : icons) {
    HICON icon = static_cast<HICON>(LoadImageA(App().instance, name, IMAGE_ICON, 16, 16, 0));
    if (icon) {
      ImageList_AddIcon(images, icon);
      DestroyIcon(icon);
    }
  }
  SendMessageA(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  const char* labels[] = {"CD-R/W Recording  ", "CD-RW Erase  ", "Create ISO file  ", "CD-ROM Info  "};
  for (int i = 0; i < 4; ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(labels[i]);
    item.iImage = i;
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
}

}  // namespace

void FillSpeedList(HWND dialog, bool initial) {
  const SpeedList list = BuildSpeedList(DriveEntry(MainState().selectedDrive).maxWriteSpeedKBps,
                                        initial ? SpeedListKind::Initial : SpeedListKind::DriveChanged);
  for (const std::string& text : list.items) SendDlgItemMessageA(dialog, kSpeedList, CB_ADDSTRING, 0, LPARAM(text.c_str()));
  if (list.selected >= 0) SendDlgItemMessageA(dialog, kSpeedList, CB_SETCURSEL, WPARAM(list.selected), 0);
}

int32_t OnInitDialog(HWND dialog, UINT, WPARAM, LPARAM) {
  MainDialogState& s = MainState();
  App().mainDialog = dialog;
  s.textColour = GetSysColor(COLOR_BTNHIGHLIGHT);
  s.shadeColour = GetSysColor(COLOR_3DDKSHADOW);
  s.shadeBrush = CreateSolidBrush(s.shadeColour);
  s.selectedDrive = -1;
  s.selectedRootIndex = -1;
  s.driveRoots = ReadDriveRoots();
  Drives().title = App().title;
  if (s.aspiReady == 0) s.aspiReady = OpenAspiManager(Drives());
  FillDriveList(dialog);
  FillSpeedList(dialog, true);
  CheckDlgButton(dialog, 400 + CurrentSettings().eraseMode, BST_CHECKED);
  SetupTabs(dialog);
  ShowPage(dialog, kPageRecording);
  if (s.aspiReady) StartStopUnit(Drives(), s.selectedDrive, kLoadDisc);
  SetFocus(dialog);
  if (s.aspiReady) StartPollTimer(dialog, 1000);
  SendDlgItemMessageA(dialog, kTabControl, TCM_SETCURSEL, 0, 0);
  BringWindowToTop(dialog);
  return TRUE;
}

}  // namespace tarvo
