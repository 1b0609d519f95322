#include "app/win32/progress_meter_win.h"

#include <cstring>

#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"

namespace tarvo {
namespace {

class Meter {
 public:
  Meter() = default;
  Meter(const Meter&) = delete;
  Meter& operator=(const Meter&) = delete;
  ~Meter() { Release(); }

  void Begin(HWND window, int32_t steps) {
    Release();
    window_ = window;
    GetClientRect(window, &full_);
    full_.left = 0;
    bar_ = full_;
    bar_.right = 0;
    SetStatusLineText("1");
    math_.Begin(full_.right, steps);
    textSize_ = {};
    paints_ = 0;
    dc_ = GetDC(window);
    fillBrush_ = CreateSolidBrush(RGB(0, 0, 255));
    backBrush_ = CreateSolidBrush(MainState().shadeColour);
    if (dc_ == nullptr) return;
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, MainState().shadeColour);
    SetTextColor(dc_, MainState().textColour);
    FillRect(dc_, &full_, backBrush_);
  }

  void Step() {
    const ProgressArithmetic::StepResult result = math_.Step();
    const char* percent = math_.percentText();
    SetStatusLineText(percent);
    if (dc_ == nullptr || !result.NeedsPaint()) return;
    const int length = int(std::strlen(percent));
    if (result.percentChanged) GetTextExtentPoint32A(dc_, percent, length, &textSize_);
    bar_.right = math_.barRight();
    FillRect(dc_, &bar_, fillBrush_);
    full_.left = bar_.right;
    TextOutA(dc_, full_.right / 2 - textSize_.cx / 2, (bar_.bottom - textSize_.cy) / 2, percent, length);
    ++paints_;
  }

  void End() {
    HWND window = window_;
    Release();
    if (window) InvalidateRect(window, nullptr, FALSE);
  }

  int32_t paints() const { return paints_; }

 private:
  void Release() {
    if (dc_) ReleaseDC(window_, dc_);
    if (fillBrush_) DeleteObject(fillBrush_);
    if (backBrush_) DeleteObject(backBrush_);
    dc_ = nullptr;
    fillBrush_ = backBrush_ = nullptr;
    window_ = nullptr;
  }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HBRUSH fillBrush_ = nullptr;
  HBRUSH backBrush_ = nullptr;
  RECT full_ = {};
  RECT bar_ = {};
  SIZE textSize_ = {};
  ProgressArithmetic math_;
  int32_t paints_ = 0;
};

Meter& TheMeter() {
  static Meter meter;
  return meter;
}

class MainDialogSink final : public ProgressSink {
 public:
  void Begin(int32_t steps) override { BeginProgress(GetDlgItem(App().mainDialog, kStatusLine), steps); }
  void Step() override { StepProgress(); }
  void End() override { EndProgress(); }
};

}  // namespace

void BeginProgress(HWND window, int32_t steps) { TheMeter().Begin(window, steps); }
void StepProgress() { TheMeter().Step(); }
void EndProgress() { TheMeter().End(); }
int32_t ProgressPaintCount() { return TheMeter().paints(); }

void SetStatusLine(HWND dialog, const char* text) {
  SetStatusLineText(text);
  HWND line = GetDlgItem(dialog, kStatusLine);
  SetWindowTextA(line, StatusLineText());
  InvalidateRect(line, nullptr, FALSE);
}

ProgressSink& MainDialogProgress() {
  static MainDialogSink sink;
  return sink;
}

// WM_DRAWITEM: the status line shows the capacity text (it begins with "CD->MB")
// painted green with a blue shadow; while the text is the meter's number the
// bar is left as it stands.
int32_t OnDrawItem(HWND, UINT, WPARAM, LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item == nullptr || item->CtlType != ODT_STATIC) return 0;
  if (item->hwndItem == nullptr || item->CtlID != UINT(kStatusLine)) return 1;
  if (item->itemAction != ODA_DRAWENTIRE && item->itemAction != ODA_SELECT) return 0;
  const char* text = StatusLineText();
  if (text[0] != 'C') return 1;
  const int length = int(std::strlen(text));
  FillRect(item->hDC, &item->rcItem, MainState().shadeBrush);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, RGB(64, 128, 255));
  TextOutA(item->hDC, 1, 3, text, length);
  SetTextColor(item->hDC, RGB(32, 255, 128));
  TextOutA(item->hDC, 3, 5, text, length);
  return 1;
}

}  // namespace tarvo
