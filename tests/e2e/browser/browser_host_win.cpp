// A stand-in for the main dialog, so the browser window can be driven on its
// own: a window "BrowserHost" with the drive list (101) whose first entry
// names a drive, the "ADD" button (300) that opens the browser, the poll
// timer 2203 counted in control 900 ("ticks running used free", refreshed
// on every tick and by command 301), the gauge line in control 501 and
// currentListPath in control 902.
//
// Arguments: --page N  --first X  --recorder X  --disc TOTAL,USED,FREE
// (drive letters; the disc figures as a reading of the gauge).
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "browser/browser_window_win.h"
#include "browser/capacity_gauge.h"
#include "browser/list_files.h"

namespace tarvo {
namespace {

char firstLetter = 0;
char recorderLetter = 0;
unsigned ticks = 0;

int RootIndexOf(char letter) {
  const MainDialogState& s = MainState();
  for (size_t i = 0; i < s.driveRoots.size(); ++i)
    if (!s.driveRoots[i].root.empty() && s.driveRoots[i].root[0] == letter) return int(i);
  return -1;
}

void FillDriveRoots() {
  MainDialogState& s = MainState();
  char buffer[256] = {};
  GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
  for (const char* root = buffer; *root && s.driveRoots.size() < 30; root += std::strlen(root) + 1) {
    DriveRoot r;
    r.root = root;
    for (char& c : r.root) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    r.type = GetDriveTypeA(root);
    s.driveRoots.push_back(r);
  }
}

void ShowState(HWND window) {
  char text[96];
  std::snprintf(text, sizeof text, "%u %d %lu %lu", ticks, MainState().pollTimerRunning ? 1 : 0,
                static_cast<unsigned long>(Gauge().used), static_cast<unsigned long>(Gauge().free));
  SetDlgItemTextA(window, 900, text);
  SetDlgItemTextA(window, 501, GaugeLine(Gauge(), MainState().currentPage).c_str());
  SetDlgItemTextA(window, 902, currentListPath.c_str());
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == 300) OpenBrowser(window, RootIndexOf(recorderLetter));
      if (LOWORD(wParam) == 301) ShowState(window);
      return 0;
    case WM_TIMER:
      if (wParam == kPollTimerId) ++ticks;
      ShowState(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), App().instance, nullptr);
}

}  // namespace
}  // namespace tarvo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tarvo;
  AppState& app = App();
  app.instance = instance;
  lstrcpyA(app.title, "Tarvo");
  GetCurrentDirectoryA(sizeof app.programDir, app.programDir);
  app.smallFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  app.largeFont = app.smallFont;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterBrowserClass(instance);
  FillDriveRoots();

  for (int i = 1; i + 1 < __argc; i += 2) {
    const std::string option = __argv[i];
    const char* value = __argv[i + 1];
    if (option == "--page") MainState().currentPage = std::atoi(value);
    if (option == "--first") firstLetter = static_cast<char>(toupper(static_cast<unsigned char>(value[0])));
    if (option == "--recorder") recorderLetter = static_cast<char>(toupper(static_cast<unsigned char>(value[0])));
    if (option == "--disc") {
      unsigned long total = 0, used = 0, free = 0;
      std::sscanf(value, "%lu,%lu,%lu", &total, &used, &free);
      Gauge().ReadDisc({uint32_t(total), uint32_t(used), uint32_t(free)});
    }
  }

  WNDCLASSA host = {};
  host.lpfnWndProc = HostProc;
  host.hInstance = instance;
  host.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  host.lpszClassName = "BrowserHost";
  RegisterClassA(&host);
  HWND window = CreateWindowExA(0, "BrowserHost", "BrowserHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 620, 0, 400,
                                200, nullptr, nullptr, instance, nullptr);
  HWND list = Child(window, "COMBOBOX", "", CBS_DROPDOWNLIST, 4, 4, 200, 100, 101);
  if (firstLetter) {
    const int index = RootIndexOf(firstLetter);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
    SendMessageA(list, CB_SETITEMDATA, 0, index);
  }
  Child(window, "BUTTON", "ADD", BS_PUSHBUTTON, 210, 4, 60, 22, 300);
  Child(window, "STATIC", "", 0, 4, 40, 380, 18, 900);
  Child(window, "STATIC", "", 0, 4, 60, 380, 18, 501);
  Child(window, "STATIC", "", 0, 4, 80, 380, 18, 902);
  MainState().pollTimerRunning = true;
  SetTimer(window, kPollTimerId, 3000, nullptr);
  ShowState(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
