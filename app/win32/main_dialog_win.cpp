#include "app/win32/main_dialog.h"

#include <commctrl.h>

#include "app/page_layout.h"
#include "app/settings.h"
#include "app/win32/app_state.h"
#include "app/win32/help_window.h"
#include "app/win32/message_map.h"

namespace tarvo {

MainDialogState& MainState() {
  static MainDialogState state;
  return state;
}

namespace {

bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetupTabs(HWND dialog) {
  HWND tabs = GetDlgItem(dialog, 100);
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

int32_t OnInitDialog(HWND dialog, UINT, WPARAM, LPARAM) {
  MainDialogState& s = MainState();
  App().mainDialog = dialog;
  s.textColour = GetSysColor(COLOR_BTNHIGHLIGHT);
  s.shadeColour = GetSysColor(COLOR_3DDKSHADOW);
  s.shadeBrush = CreateSolidBrush(s.shadeColour);
  s.selectedDrive = -1;
  s.selectedRootIndex = -1;
  CheckDlgButton(dialog, 400 + CurrentSettings().eraseMode, BST_CHECKED);
  SetupTabs(dialog);
  ShowPage(dialog, kPageRecording);
  SetFocus(dialog);
  if (s.aspiReady) StartPollTimer(dialog, 1000);
  SendDlgItemMessageA(dialog, 100, TCM_SETCURSEL, 0, 0);
  BringWindowToTop(dialog);
  return TRUE;
}

int32_t OnNotify(HWND dialog, UINT, WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || header->code != UINT(TCN_SELCHANGE)) return 0;
  MainDialogState& s = MainState();
  int page = int(SendDlgItemMessageA(dialog, 100, TCM_GETCURSEL, 0, 0));
  StopPollTimer(dialog);
  StorePageState(dialog, s.currentPage);
  s.currentPage = page;
  ShowPage(dialog, page);
  if (page < 4) StartPollTimer(dialog, 3000);
  return 0;
}

int32_t OnDrawItem(HWND, UINT, WPARAM, LPARAM) { return 0; }

int32_t OnTimer(HWND dialog, UINT, WPARAM, LPARAM) {
  if (MainState().aspiReady != 1) StopPollTimer(dialog);
  return 0;
}

// Commands 1 (IDOK, also the Enter key), 2 ("Exit", also Escape) and 9 ("Help").
int32_t OnClose(HWND dialog, uint16_t id, uint16_t, LPARAM) {
  if (id == 9) {
    ShowHelpTopic(1090);
    return 0;
  }
  StorePageState(dialog, MainState().currentPage);
  SaveSettings(ProgramFile(kSettingsFileName), IsZoomed(dialog) != 0, User());
  StopPollTimer(dialog);
  EndDialog(dialog, 0);
  return 0;
}

// The title-bar close box takes the same way out as "Exit", so the page's
// choices are saved whichever way the user leaves.
int32_t OnCloseBox(HWND dialog, UINT, WPARAM, LPARAM) { return OnClose(dialog, 2, 0, 0); }

int32_t OnDriveSelected(HWND, uint16_t, uint16_t, LPARAM) { return 0; }

int32_t OnCommand(HWND dialog, uint16_t, uint16_t, LPARAM) {
  StopPollTimer(dialog);
  if (SendDlgItemMessageA(dialog, 100, TCM_GETCURSEL, 0, 0) < 3) StartPollTimer(dialog, 3000);
  return 0;
}

int32_t OnAbout(HWND, uint16_t, uint16_t, LPARAM) { return 0; }

const CommandEntry kMainCommands[] = {
    {1, OnClose},     {9, OnClose},     {2, OnClose},     {208, OnCommand},       {209, OnCommand},
    {207, OnCommand}, {205, OnCommand}, {206, OnCommand}, {210, OnCommand},       {201, OnCommand},
    {202, OnCommand}, {203, OnCommand}, {300, OnCommand}, {305, OnCommand},       {299, OnCommand},
    {308, OnCommand}, {404, OnCommand}, {215, OnCommand}, {101, OnDriveSelected}, {405, OnAbout},
};
const MessageMap kMainCommandMap = MakeCommandMap(kMainCommands, kDefaultWindowProc);

int32_t OnMainCommand(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kMainCommandMap, dialog, wParam, lParam));
}

const MessageEntry kMainMessages[] = {
    {WM_COMMAND, OnMainCommand}, {WM_INITDIALOG, OnInitDialog}, {WM_NOTIFY, OnNotify},
    {WM_DRAWITEM, OnDrawItem},   {WM_TIMER, OnTimer},           {WM_CLOSE, OnCloseBox},
};
const MessageMap kMainMap = MakeMessageMap(kMainMessages, kDefaultWindowProc);

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kMainMap, window, message, wParam, lParam);
}

void ShowPage(HWND dialog, int page) {
  const PageLayout layout = LayoutForPage(page, CurrentSettings(), MainState().canStart != 0);
  for (int id : layout.shown) ShowWindow(GetDlgItem(dialog, id), SW_SHOW);
  for (int id : layout.hidden) ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
  for (const ControlText& t : layout.texts) SetDlgItemTextA(dialog, t.id, t.text.c_str());
  for (const ControlCheck& c : layout.checks) CheckDlgButton(dialog, c.id, c.checked ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(dialog, 300), layout.enableAdd);
  EnableWindow(GetDlgItem(dialog, 305), layout.enableStart);
}

void StorePageState(HWND dialog, int page) {
  Settings& settings = CurrentSettings();
  if (page == kPageRecording) {
    settings.multiSession = IsChecked(dialog, 302) ? 1 : 0;
    settings.copyFlag = IsChecked(dialog, 307) ? 1 : 0;
  } else if (page == kPageIsoFile) {
    settings.includeFileData = IsChecked(dialog, 302) ? 1 : 0;
  }
}

void StartPollTimer(HWND dialog, UINT milliseconds) {
  SetTimer(dialog, kPollTimerId, milliseconds, nullptr);
  MainState().pollTimerRunning = true;
}

void StopPollTimer(HWND dialog) {
  if (MainState().pollTimerRunning) KillTimer(dialog, kPollTimerId);
  MainState().pollTimerRunning = false;
}

}  // namespace tarvo
