// The volume descriptor settings dialog IDD_PVD and the filling of its texts
// from a newly found disc.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tarvo {

// "Set other CD-R/W info" (308): runs IDD_PVD modally over
// CurrentVolumeTexts(). OK stores at most 127 and 36 characters of the two
// edits; Cancel and the close box change nothing. The box is owned by the
// main dialog, which takes no command while it is open: without an owner a
// second box, or a recording, could be started under it.
void RunVolumeTextsDialog(HWND owner);

INT_PTR CALLBACK VolumeTextsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// FillFromDisc, command 207 with notification 333 from the disc check:
// reads sector 16 of `drive` and fills CurrentVolumeTexts() and the volume
// label edit (301) from it. Nothing happens without the ASPI manager, and a
// failed read changes nothing and says nothing.
void FillVolumeTextsFromDisc(HWND mainDialog, int drive);
// The same once the sector is read; a short or missing sector changes nothing.
void FillVolumeTextsFromSector(HWND mainDialog, const uint8_t* sector, size_t n);

}  // namespace tarvo
