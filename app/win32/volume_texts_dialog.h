// The volume descriptor settings dialog IDD_PVD and the filling of its texts
// from a newly found disc.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tarvo {

// Runs IDD_PVD modally over CurrentVolumeTexts(). OK stores at most 127 and
// 36 characters of the two edits; Cancel and the close box change nothing.
// Returns the dialog's result: 1 for OK, 0 otherwise.
INT_PTR RunVolumeTextsDialog(HWND owner);

INT_PTR CALLBACK VolumeTextsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// FillFromDisc after the sector was read: sector 16 of a newly found disc
// fills CurrentVolumeTexts() and the main dialog's volume label edit (301).
// A short or missing sector (a failed read) changes nothing.
void FillVolumeTextsFromDisc(HWND mainDialog, const uint8_t* sector, size_t n);

}  // namespace tarvo
