// Finding the CD drives behind a transport and filling the drive table.
#pragma once

#include "drive/drive_access.h"

namespace tarvo {

// Scans every adapter, target and LUN of access.transport in that order and
// records up to kMaxDrives CD-ROM class devices (SPC-2 peripheral type 5).
// Each one is asked for its identity (INQUIRY), its capabilities (page 2Ah,
// silently) and then set to its fastest speeds. Returns 1.
int DiscoverDrives(DriveAccess& access);

}  // namespace tarvo
