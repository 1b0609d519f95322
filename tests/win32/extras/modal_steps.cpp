#include "modal_steps.h"

namespace tarvo::test {
namespace {

ModalSteps* g_current = nullptr;
constexpr DWORD kTimeLimitMs = 15000;

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (search->caption && WindowText(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

ModalSteps::ModalSteps(std::vector<Step> steps) : steps_(std::move(steps)) {
  g_current = this;
  deadline_ = GetTickCount() + kTimeLimitMs;
  timer_ = SetTimer(nullptr, 0, 40, Tick);
}

ModalSteps::~ModalSteps() {
  KillTimer(nullptr, timer_);
  g_current = nullptr;
}

void CALLBACK ModalSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_current) g_current->RunDue();
}

void ModalSteps::RunDue() {
  if (busy_ || Finished()) return;
  if (LONG(GetTickCount() - deadline_) > 0) {
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    return;
  }
  busy_ = true;
  if (steps_[next_]()) ++next_;
  busy_ = false;
}

HWND FindThreadDialog(const char* caption) {
  Search search{caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace tarvo::test
