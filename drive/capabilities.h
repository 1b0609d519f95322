// The CD capabilities and mechanical status page 2Ah (MMC-3 5.5.12): the
// three fields discovery keeps per drive and the 39-line report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "drive/drive_access.h"

namespace tarvo {

struct WriteCapabilities {
  bool canWriteCdR = false;
  bool canWriteCdRw = false;
  uint16_t maxWriteSpeedKBps = 0;
};

// Pure: `page` points at the page code byte, `available` bytes from there.
WriteCapabilities DecodeWriteCapabilities(const uint8_t* page, size_t available);
std::string FormatCapabilitiesReport(const uint8_t* page, size_t available);

// Reads page 2Ah. show: the report into the information box; otherwise the
// drive's three fields are stored. Returns 1, or 0 when the page buffer
// cannot be allocated. A failed read has already shown the firmware message.
int QueryCapabilities(DriveAccess& access, bool show, int drive);

}  // namespace tarvo
