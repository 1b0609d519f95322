// What the shell's start-up and main dialog would have set up: the instance,
// the title, a program folder holding test files, and a stand-in main window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/win32/app_state.h"

namespace tarvo::test {

inline std::string ProgramFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "tarvo-extras-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// A visible top-level window standing in for the main dialog, with the
// volume label edit (301) that FillFromDisc writes.
class FakeMainDialog {
 public:
  FakeMainDialog() {
    AppState& app = App();
    app.instance = GetModuleHandleA(nullptr);
    lstrcpyA(app.title, "Tarvo");
    lstrcpynA(app.programDir, ProgramFolder().c_str(), sizeof app.programDir);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateWindowExA(0, "STATIC", "Tarvo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                              nullptr, app.instance, nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, window_,
                    reinterpret_cast<HMENU>(INT_PTR{301}), app.instance, nullptr);
    app.mainDialog = window_;
  }
  ~FakeMainDialog() {
    App().mainDialog = nullptr;
    DestroyWindow(window_);
  }
  FakeMainDialog(const FakeMainDialog&) = delete;
  FakeMainDialog& operator=(const FakeMainDialog&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace tarvo::test
