// The main dialog's message and command maps, its procedure, and the page
// handling shared by the handlers in the other main_dialog_* files.
#include "app/win32/main_dialog.h"

#include <commctrl.h>

#include "app/page_layout.h"
#include "app/settings.h"
#include "app/win32/about_box.h"
#include "app/win32/app_state.h"
#include "app/win32/help_window.h"
#include "app/win32/message_map.h"

namespace tarvo {

MainDialogState& MainState() {
  static MainDialogState state;
  return state;
}

bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

int CurrentTabPage(HWND dialog) { return int(SendDlgItemMessageA(dialog, kTabControl, TCM_GETCURSEL, 0, 0)); }

namespace {

// TCN_SELCHANGE, from whichever control sends it.
int32_t OnNotify(HWND dialog, UINT, WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || header->code != UINT(TCN_SELCHANGE)) return 0;
  MainDialogState& s = MainState();
  const int page = CurrentTabPage(dialog);
  StopPollTimer(dialog);
  StorePageState(dialog, s.currentPage);
  s.currentPage = page;
  ShowPage(dialog, page);
  if (page < 4) StartPollTimer(dialog, 3000);
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

int32_t OnAbout(HWND dialog, uint16_t, uint16_t, LPARAM) {
  ShowAboutBox(dialog);
  return 0;
}

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
  EnableWindow(GetDlgItem(dialog, kStartButton), layout.enableStart);
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
