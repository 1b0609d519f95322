// The main dialog IDD_BURNCD: four tab pages over one set of controls.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarvo {

inline constexpr UINT_PTR kPollTimerId = 2203;

struct DriveRoot {
  char root[10] = {};
  UINT type = 0;
};

struct MainDialogState {
  int32_t aspiReady = 0;
  DriveRoot driveRoots[30] = {};
  int driveRootCount = 0;
  int32_t selectedDrive = -1;
  int32_t selectedRootIndex = -1;
  int32_t currentPage = 0;
  bool pollTimerRunning = false;
  uint8_t pollSkip = 0;
  int32_t canStart = 0;
  char volumeLabel[10] = {};
  COLORREF textColour = 0;
  COLORREF shadeColour = 0;
  HBRUSH shadeBrush = nullptr;
};

MainDialogState& MainState();

// The main dialog's procedure: the window procedure of its private class and
// the dialog procedure handed to DialogBoxParamA.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ShowPage(HWND dialog, int page);
void StorePageState(HWND dialog, int page);
void StartPollTimer(HWND dialog, UINT milliseconds);
void StopPollTimer(HWND dialog);

}  // namespace tarvo
