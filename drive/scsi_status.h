// Status texts and the REQUEST SENSE dump.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "drive/drive_access.h"

namespace tarvo {

// The text for a SCSI target status (SAM-2 5.3.1) or an ASPI request status;
// one table covers both.
const char* ScsiStatusText(uint8_t status);

// The text in a stop-icon message box captioned with the application title.
void ShowScsiStatus(DriveAccess& access, uint8_t status);

// Pure: the dump file's content for a command block and its reply.
std::string FormatSenseDump(uint8_t status, const uint8_t* cdb, const uint8_t* reply,
                            size_t replyLength);

}  // namespace tarvo
