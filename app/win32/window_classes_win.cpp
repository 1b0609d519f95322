#include "app/win32/window_classes.h"

#include "app/win32/app_state.h"
#include "app/win32/help_window.h"
#include "app/win32/main_dialog.h"
#include "browser/browser_window_win.h"

namespace tarvo {

namespace {

bool RegisterWithRetry(const WNDCLASSA& wc) {
  return RegisterClassA(&wc) != 0 || RegisterClassA(&wc) != 0;
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
  WNDCLASSA main = {};
  main.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  main.lpfnWndProc = reinterpret_cast<WNDPROC>(MainDialogProc);
  main.cbWndExtra = DLGWINDOWEXTRA;
  main.hInstance = instance;
  main.hIcon = LoadIconA(instance, "APPICON");
  main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  main.lpszClassName = App().title;
  if (!RegisterWithRetry(main)) return false;

  if (!RegisterBrowserClass(instance)) return false;

  WNDCLASSA help = {};
  help.style = CS_HREDRAW | CS_VREDRAW;
  help.lpfnWndProc = HelpWindowProc;
  help.hInstance = instance;
  help.hIcon = LoadIconA(instance, "APPICON");
  help.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  help.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  help.lpszClassName = "HQHELP";
  return RegisterWithRetry(help);
}

}  // namespace tarvo
