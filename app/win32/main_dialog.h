// The main dialog IDD_BURNCD: four tab pages over one set of controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/drive_list.h"

namespace tarvo {

inline constexpr UINT_PTR kPollTimerId = 2203;
inline constexpr int kTabControl = 100;
inline constexpr int kDriveList = 101;
inline constexpr int kSpeedList = 290;
inline constexpr int kStartButton = 305;
inline constexpr int kStatusLine = 501;
inline constexpr int kStatusText = 502;

struct MainDialogState {
  int32_t aspiReady = 0;
  std::vector<DriveRoot> driveRoots;
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

// Message and command handlers, each in its own file.
int32_t OnInitDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int32_t OnTimer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int32_t OnDrawItem(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int32_t OnDriveSelected(HWND dialog, uint16_t id, uint16_t notification, LPARAM lParam);
int32_t OnCommand(HWND dialog, uint16_t id, uint16_t notification, LPARAM lParam);

void ShowPage(HWND dialog, int page);
void StorePageState(HWND dialog, int page);
void UpdateDiscStatus(HWND dialog);
// Refills the speed list for the selected drive.
void FillSpeedList(HWND dialog, bool initial);
void StartPollTimer(HWND dialog, UINT milliseconds);
void StopPollTimer(HWND dialog);

bool IsChecked(HWND dialog, int id);
int CurrentTabPage(HWND dialog);

}  // namespace tarvo
