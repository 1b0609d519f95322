#include "browser/browser_window_win.h"

namespace tarvo {

bool RegisterBrowserClass(HINSTANCE instance) {
  WNDCLASSA browser = {};
  browser.lpfnWndProc = DefWindowProcA;
  browser.hInstance = instance;
  browser.hIcon = LoadIconA(instance, "APPICON");
  browser.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  browser.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  browser.lpszClassName = "Browse_Burn_CD";
  return RegisterClassA(&browser) != 0;
}

void OpenBrowser(HWND, int) {}

}  // namespace tarvo
