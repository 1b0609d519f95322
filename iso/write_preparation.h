// The three drive sequences that frame a disc recording: readying the drive
// and the disc with the write parameters of a track-at-once data session,
// writing one sector, and closing the session. Every command goes through the
// command set of the drive layer and waits for its completion.
#pragma once

#include <cstdint>

#include "drive/drive_access.h"

namespace tarvo {

// Start/load, ready check, disc and track information (reports shown), write
// parameters page 05h, speed, medium lock. Returns the next writable address
// of the disc's last track (the start of the new track), or -1 after a
// failure (the failing step has told the user; a disc without a valid next
// writable address fails silently). The medium is locked only on success.
int64_t PrepareForWrite(DriveAccess& access, uint32_t writeSpeedKBps, bool multiSession, int copyFlag, int drive);

// One WRITE(10) of one block at `address`. On failure the drive is rezeroed
// and the medium unlocked; returns 1 written, 0 failed, without a message.
int WriteSector(DriveAccess& access, const uint8_t* sector, uint32_t address, int drive);

// Flushes the drive's cache, closes the session, unlocks and ejects the disc
// (also after a failed close, whose status is shown). Returns 1 when the
// session was closed.
int CloseSession(DriveAccess& access, int drive);

}  // namespace tarvo
