// ScsiCommandSet: every SCSI/MMC command Tarvo sends to a CD drive. Each
// operation builds one 10-byte command block (six-byte commands zero-filled),
// runs it through DriveAccess::ExecuteScsiCommand with a fixed direction,
// buffer and wait, and returns the target status (00h good).
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "drive/drive_access.h"

namespace tarvo {

using Cdb = std::array<uint8_t, kCdbLength>;

inline constexpr uint32_t kBlockSize = 2048;
inline constexpr uint8_t kOpRead10 = 0x28;
inline constexpr uint8_t kOpWrite10 = 0x2A;
inline constexpr uint8_t kOpSynchronizeCache = 0x35;

// START STOP UNIT byte 4 (SBC-2 5.17): LoEj and Start.
inline constexpr uint8_t kStopDisc = 0x00;
inline constexpr uint8_t kStartDisc = 0x01;
inline constexpr uint8_t kEjectDisc = 0x02;
inline constexpr uint8_t kLoadDisc = 0x03;

// Reply sizes of the operations that own their buffer.
inline constexpr uint32_t kInquiryReplySize = 100;
inline constexpr uint32_t kDiscInfoReplySize = 256;
inline constexpr uint32_t kTrackInfoReplySize = 100;
inline constexpr uint32_t kTocReplySize = 2048;
inline constexpr uint32_t kSenseReplySize = 2048;
inline constexpr uint32_t kModeSenseBufferSize = 2048;

uint8_t TestUnitReady(DriveAccess& access, int drive, uint8_t byte1);
uint8_t RezeroUnit(DriveAccess& access, int drive);
// Fills the drive's identity on good status.
uint8_t Inquiry(DriveAccess& access, int drive);
uint8_t StartStopUnit(DriveAccess& access, int drive, uint8_t mode);
uint8_t PreventAllowMediumRemoval(DriveAccess& access, int drive, bool prevent);
// READ(10) or WRITE(10) of `count` blocks at `lba` through `buffer`
// (count x 2048 bytes), or SYNCHRONIZE CACHE (no address, no data).
uint8_t TransferBlocks(DriveAccess& access, int drive, uint8_t opcode, uint8_t* buffer,
                       uint32_t lba, uint16_t count);
// Sets access.lastTrackPvdLba from the table of contents on good status.
uint8_t ReadToc(DriveAccess& access, int drive);
uint8_t CloseTrackSession(DriveAccess& access, int drive, bool closeTrack, uint8_t track);
uint8_t ReadBufferCapacity(DriveAccess& access, int drive);
// BLANK, waiting in slices; `betweenSlices` runs after each slice.
uint8_t Blank(DriveAccess& access, int drive, uint8_t blankingType,
              const std::function<void()>& betweenSlices);
uint8_t SetCdSpeed(DriveAccess& access, int drive, uint16_t readSpeed, uint16_t writeSpeed);

// READ DISC INFORMATION and READ TRACK INFORMATION: on good status decode
// into access.discInfo / access.trackInfo (and the drive's lead-in and
// lead-out addresses) and, with show, put the report into the information box.
uint8_t ReadDiscInformation(DriveAccess& access, bool show, int drive);
uint8_t ReadTrackInformation(DriveAccess& access, bool trackNumberForm, uint32_t trackOrLba,
                             bool show, int drive);

// REQUEST SENSE, writing the dump file (scsi_status.h).
uint8_t RequestSense(DriveAccess& access, int drive);

}  // namespace tarvo
