// What the main dialog starts in other parts of the program that are not
// wired in yet: recording, the erase, the sector viewer and the capacity
// gauge. dialog_hooks_win.cpp holds what each does until its own
// part is wired in; the part then replaces its body there.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarvo {

// Recording onto the disc (imageFileName null) or into an image file.
// Returns 1 when the volume was written.
int RecordCompilation(HWND dialog, const char* label, const char* imageFileName, uint32_t includeFileData,
                      uint32_t writeSpeedKBps, uint32_t multiSession, uint32_t copyFlag, int drive);

// Blanks a CD-RW (mode 0 full, 1 fast, 2 last session) at speedFactor X.
int EraseDisc(HWND dialog, int eraseMode, int speedFactor, int drive);

// The information page's sector viewer: commands 205, 206, 207, 208, 209,
// 210 and 215.
void SectorViewerCommand(HWND dialog, uint16_t command, int drive);
// The viewer's sector of `drive` goes back to 16.
void ResetSectorViewer(int drive);

// The capacity gauge: rebuilds the status line's text, reading the disc's
// space first when readFlag is 1, and has control 501 repainted.
void RefreshGaugeText(HWND dialog, int readFlag);
struct GaugeFigures {
  uint32_t total = 0;
  uint32_t used = 0;
  uint32_t free = 0;
};
GaugeFigures CurrentGaugeFigures();

}  // namespace tarvo
