// Times the browser window's own paths on a large folder: Add (the walk with
// every disc-tree item inserted, painting suspended), saving the list and
// loading it back into the disc tree. Prints one table row per operation.
//
// browser-bench FOLDER LIST   (Windows paths; FOLDER ends in a backslash)
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "browser/browser_state_win.h"
#include "browser/browser_window_win.h"
#include "browser/capacity_gauge.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

size_t DiscItems(HWND tree) { return size_t(SendMessageA(tree, TVM_GETCOUNT, 0, 0)); }

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvo;
  if (argc < 3) {
    std::fprintf(stderr, "usage: browser-bench FOLDER\\ LIST\n");
    return 2;
  }
  AppState& app = App();
  app.instance = GetModuleHandleA(nullptr);
  lstrcpyA(app.title, "Tarvo");
  GetCurrentDirectoryA(sizeof app.programDir, app.programDir);
  app.smallFont = app.largeFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterBrowserClass(app.instance);
  MainDialogState& s = MainState();
  char roots[256] = {};
  GetLogicalDriveStringsA(sizeof roots - 1, roots);
  for (const char* root = roots; *root && s.driveRoots.size() < 30; root += std::strlen(root) + 1) {
    DriveRoot r;
    r.root = root;
    for (char& c : r.root) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    r.type = GetDriveTypeA(root);
    s.driveRoots.push_back(r);
  }
  s.currentPage = 2;  // no recorder drive to lock, nothing to import
  HWND host = CreateWindowExA(0, "STATIC", "bench host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, app.instance,
                              nullptr);

  SelectedSourcePath() = argv[1];
  OpenBrowser(host, -1);
  Pump();
  HWND window = BrowserWindow();
  if (window == nullptr) return 1;

  const LARGE_INTEGER t0 = Now();
  SendMessageA(window, WM_COMMAND, 600, 0);
  const LARGE_INTEGER t1 = Now();
  const size_t added = DiscItems(Browser().discTree);
  const int saved = SaveBrowserList(argv[2]);
  const LARGE_INTEGER t2 = Now();
  const int loaded = LoadBrowserList(argv[2]);
  const LARGE_INTEGER t3 = Now();
  const size_t reloaded = DiscItems(Browser().discTree);
  Pump();

  std::printf("%-28s %10s %12s\n", "operation", "entries", "seconds");
  std::printf("%-28s %10zu %12.3f\n", "Add folder (window)", added, Seconds(t0, t1));
  std::printf("%-28s %10zu %12.3f\n", saved ? "Save list" : "Save list FAILED", added, Seconds(t1, t2));
  std::printf("%-28s %10zu %12.3f\n", loaded ? "Load list (window)" : "Load list FAILED", reloaded, Seconds(t2, t3));
  CloseBrowser();
  return saved && loaded && added == reloaded ? 0 : 1;
}
