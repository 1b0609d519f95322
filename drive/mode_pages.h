// MODE SENSE(10) / MODE SELECT(10) (SPC-2 7.8, 7.6) for the capabilities
// page 2Ah and the write parameters page 05h (MMC-3 5.5.10).
#pragma once

#include <cstddef>
#include <cstdint>

#include "drive/drive_access.h"

namespace tarvo {

// Where a page lies in the mode data: `offset` of its page code byte and the
// `totalLength` of the mode data, header included. offset 0: not found.
struct ModePageLocation {
  uint16_t offset = 0;
  uint16_t totalLength = 0;
  explicit operator bool() const { return offset != 0; }
  // The classic 16-bit form: offset in the low byte, length's low 8 bits high.
  uint16_t Packed() const { return static_cast<uint16_t>(offset | (totalLength & 0xFF) << 8); }
};

inline constexpr uint8_t kWriteParametersPage = 0x05;
inline constexpr uint8_t kCapabilitiesPage = 0x2A;
// MODE SENSE(10) asks for this much; mode data claiming more was cut short.
inline constexpr uint16_t kModeSenseAllocation = 256;

// Pure: finds `pageCode` in the mode data `reply` (of `length` bytes).
ModePageLocation LocateModePage(const uint8_t* reply, size_t length, uint8_t pageCode);

// Pure: the write parameters edits (track at once, data track Mode 1,
// multi-session 11b or 01b, optional Copy bit, the rest of the page zero).
void EditWriteParametersPage(uint8_t* buffer, size_t bufferSize, ModePageLocation location,
                             bool multiSession, int copyProtect);

// Sends MODE SENSE(10) for the page into `buffer` (at least 2048 bytes) and
// locates it; when that fails shows the firmware message and returns {}.
ModePageLocation ModeSense10(DriveAccess& access, uint8_t* buffer, uint8_t pageCode, int drive);

// Edits the page 05h that ModeSense10 left in `buffer` and sends the whole
// mode data back with MODE SELECT(10), PF set.
uint8_t ModeSelect10(DriveAccess& access, uint8_t* buffer, ModePageLocation location,
                     bool multiSession, int copyProtect, int drive);

extern const char* const kFirmwareMessage;

}  // namespace tarvo
