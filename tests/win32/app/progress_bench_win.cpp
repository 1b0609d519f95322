// Benchmark of the progress meter under Wine: a full disc's worth of steps
// (one per sector) on a 340-pixel status line, with the meter as built (it
// paints only visible changes) beside a meter that paints every step.
// Prints a table; scripts/bench-progress.sh runs it.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/progress_meter.h"
#include "app/win32/main_dialog.h"
#include "app/win32/progress_meter_win.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// The same arithmetic, painting the bar and the percentage at every step.
double PaintEveryStep(HWND control, int steps, int& paints) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  RECT full;
  GetClientRect(control, &full);
  RECT bar = full;
  bar.right = 0;
  HDC dc = GetDC(control);
  HBRUSH fill = CreateSolidBrush(RGB(0, 0, 255));
  SetBkMode(dc, OPAQUE);
  tarvo::ProgressArithmetic math;
  math.Begin(full.right, steps);
  SIZE size = {};
  paints = 0;
  for (int i = 0; i < steps; ++i) {
    const tarvo::ProgressArithmetic::StepResult r = math.Step();
    const char* text = math.percentText();
    const int length = int(std::strlen(text));
    if (r.percentChanged) GetTextExtentPoint32A(dc, text, length, &size);
    bar.right = math.barRight();
    FillRect(dc, &bar, fill);
    TextOutA(dc, full.right / 2 - size.cx / 2, (bar.bottom - size.cy) / 2, text, length);
    ++paints;
  }
  DeleteObject(fill);
  ReleaseDC(control, dc);
  GdiFlush();
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

double Meter(HWND control, int steps, int& paints) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  tarvo::BeginProgress(control, steps);
  for (int i = 0; i < steps; ++i) tarvo::StepProgress();
  paints = tarvo::ProgressPaintCount();
  tarvo::EndProgress();
  GdiFlush();
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

}  // namespace

int main() {
  HWND parent = CreateWindowExA(0, "Static", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 360, 40, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND control = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 10, 10, 340, 20, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  tarvo::MainState().shadeColour = GetSysColor(COLOR_3DDKSHADOW);
  tarvo::MainState().textColour = GetSysColor(COLOR_BTNHIGHLIGHT);

  std::printf("%-28s %9s %8s %10s\n", "meter", "steps", "paints", "seconds");
  const int counts[] = {1000, 100000, 360000};
  for (int steps : counts) {
    int paints = 0;
    const double built = Meter(control, steps, paints);
    std::printf("%-28s %9d %8d %10.3f\n", "paints visible changes", steps, paints, built);
    const double every = PaintEveryStep(control, steps, paints);
    std::printf("%-28s %9d %8d %10.3f\n", "paints every step", steps, paints, every);
  }
  DestroyWindow(parent);
  return 0;
}
