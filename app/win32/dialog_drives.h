// The drive layer's process-wide state as the main dialog uses it: the drive
// table, the disc records and the transport, with the main dialog as the
// drive layer's user interface (message boxes, boxes 199, 212 and 502, the
// disc-arrival command 207/333, the wait cursor).
#pragma once

#include "app/drive_list.h"
#include "drive/drive_access.h"

namespace tarvo {

DriveAccess& Drives();

// The whole drive table (all kMaxDrives entries) as the drive list needs it.
std::vector<DriveSummary> DriveTableSummary();

// The selected drive's entry; a zero entry when the index is out of range.
const CdDrive& DriveEntry(int drive);

}  // namespace tarvo
