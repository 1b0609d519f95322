// The information page's queries and the disc check the poll timer runs.
#pragma once

#include <cstdint>

#include "drive/drive_access.h"

namespace tarvo {

inline constexpr uint8_t kQueryDiscInfo = 0x51;
inline constexpr uint8_t kQueryTrackInfo = 0x52;
inline constexpr uint8_t kQueryCapabilities = 0x2A;

// Kind 51h disc information, 52h track information (track number from box
// 212), 2Ah capabilities. With show the report goes to the information box.
// Returns 1, or 0 when the capabilities buffer cannot be allocated.
int QueryDriveInfo(DriveAccess& access, uint8_t kind, bool show, int drive);

// Refreshes the disc information; on a disc's arrival reads its last track
// once and notifies the dialog. Returns discState.discReady.
int CheckDisc(DriveAccess& access, int drive);

// Stops, unlocks, rezeroes and reloads the disc; the next check then counts
// the disc as newly arrived. Returns 1.
int ResetDisc(DriveAccess& access, int drive);

struct DiscSpace {
  uint32_t total = 0;
  uint32_t used = 0;
  uint32_t free = 0;
};
DiscSpace GetDiscSpace(DriveAccess& access, int drive);

// Reads the table of contents into access.lastTrackPvdLba (0 when not found).
void FindLastTrackPvd(DriveAccess& access, int drive);

}  // namespace tarvo
