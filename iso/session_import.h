// The import of a disc's last session: the extent of every plain file in the
// directories of the volume whose descriptors lie at lastTrackPvdLba, in the
// order they stand there, so that files carried over into the new session
// keep pointing at their data. The previous session is untrusted input: the
// descriptors and every directory record are checked before use, and the
// scan never leaves the volume the descriptor describes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tarvo {

// Reads one 2048-byte sector; false when the drive could not read it.
using SectorReader = std::function<bool(uint32_t address, uint8_t* sector)>;

struct PreviousSession {
  bool imported = false;          // false: no volume of this layout was found
  std::vector<uint32_t> extents;  // the plain files' extents, in directory order
};

// `descriptorAddress` is where the last track's primary volume descriptor
// lies (its start plus 16). The Joliet descriptor one sector further on is
// preferred; the primary one is the fallback.
PreviousSession ImportPreviousSession(const SectorReader& read, uint32_t descriptorAddress);

}  // namespace tarvo
