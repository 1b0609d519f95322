// The progress meter and the status line painted onto a real owner-drawn
// static under Wine: the bar, its survival of repaints during and after an
// operation, the capacity text, and how rarely a long run paints.
#include "app/win32/progress_meter_win.h"

#include <gtest/gtest.h>

#include "app/win32/main_dialog.h"

namespace tarvo {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kShade = RGB(64, 64, 64);

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) return OnDrawItem(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProgressMeterTestParent";
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "meter", WS_POPUP | WS_VISIBLE, 0, 0, 400, 60,
                              nullptr, nullptr, wc.hInstance, nullptr);
    control_ = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 10, 10, 340, 24, parent_,
                               HMENU(INT_PTR(kStatusLine)), wc.hInstance, nullptr);
    MainState().shadeColour = kShade;
    MainState().textColour = RGB(255, 255, 255);
    MainState().shadeBrush = CreateSolidBrush(kShade);
    SetStatusLineText("");
    Pump();
  }
  void TearDown() override {
    DestroyWindow(parent_);
    DeleteObject(MainState().shadeBrush);
    MainState().shadeBrush = nullptr;
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void Repaint() {
    InvalidateRect(control_, nullptr, TRUE);
    UpdateWindow(control_);
    Pump();
  }
  // Row 0 lies above the percentage's box, which is centred vertically.
  COLORREF PixelAt(int x) {
    HDC dc = GetDC(control_);
    const COLORREF colour = GetPixel(dc, x, 0);
    ReleaseDC(control_, dc);
    return colour;
  }

  HWND parent_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(StatusLine, BarGrowsOverTheShadeAndSurvivesRepaints) {
  BeginProgress(control_, 1000);
  EXPECT_EQ(PixelAt(5), kShade);
  for (int i = 0; i < 500; ++i) StepProgress();
  EXPECT_STREQ(StatusLineText(), "50");
  EXPECT_EQ(PixelAt(5), kBlue);
  EXPECT_EQ(PixelAt(168), kBlue);   // 500 x 0.34 = 170 pixels
  EXPECT_EQ(PixelAt(172), kShade);
  Repaint();  // a paint request while the operation runs
  EXPECT_EQ(PixelAt(5), kBlue);
  for (int i = 0; i < 500; ++i) StepProgress();
  EndProgress();
  Repaint();  // the text is a number: the last image of the bar stays
  EXPECT_STREQ(StatusLineText(), "100");
  EXPECT_EQ(PixelAt(338), kBlue);
}

TEST_F(StatusLine, CapacityTextReplacesTheBar) {
  BeginProgress(control_, 1);
  StepProgress();
  StepProgress();
  EndProgress();
  EXPECT_EQ(PixelAt(300), kBlue);
  SetStatusLineText("CD->MB   Total: 702   Free: 702   Used: 0");
  Repaint();
  EXPECT_EQ(PixelAt(300), kShade);
  EXPECT_EQ(PixelAt(5), kShade);
}

TEST_F(StatusLine, AFullDiscOfStepsPaintsOnlyVisibleChanges) {
  BeginProgress(control_, 360000);
  for (int i = 0; i < 360000; ++i) StepProgress();
  EXPECT_LE(ProgressPaintCount(), 340 + 100);
  EXPECT_GE(ProgressPaintCount(), 100);
  EndProgress();
}

}  // namespace
}  // namespace tarvo
