// The import of a disc's last session: the extent of every plain file in the
// directory tree of the volume whose descriptors lie at lastTrackPvdLba, by
// the file's path, so that files carried over into the new session keep
// pointing at their data. The files are matched by path, not by position:
// the compilation lists them in its own order (sorted without regard to
// case), while another writer may have sorted or placed its directories
// differently, and a position off by one would hand a file another's data.
// The previous session is untrusted input: the descriptors and every
// directory record are checked before use, no directory is read twice, and
// the walk never leaves the volume the descriptor describes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tarvo {

// Reads one 2048-byte sector; false when the drive could not read it.
using SectorReader = std::function<bool(uint32_t address, uint8_t* sector)>;

struct PreviousSession {
  bool imported = false;  // false: no volume of this layout was found
  // Plain files by SessionPathKey of their path below the root.
  std::unordered_map<std::u16string, uint32_t> extents;

  // The extent of the file at `key`, or 0 when the session holds none there.
  uint32_t ExtentOf(const std::u16string& key) const;
};

// `descriptorAddress` is where the last track's primary volume descriptor
// lies (its start plus 16). The Joliet descriptor one sector further on is
// preferred; the primary one is the fallback.
PreviousSession ImportPreviousSession(const SectorReader& read, uint32_t descriptorAddress);

// The key of a path below the root ('\' between names) as a reader shows it:
// UCS-2, ASCII letters in upper case (CD file systems match names without
// regard to case), without a version (";1") or, for primary names, the
// trailing dot of a name without extension.
std::u16string SessionPathKey(std::u16string_view path);

// The key of a list entry of kind Recorded: its directory path, from the
// first backslash on (the recorder's drive root, such as "E:\", is dropped),
// and its name, converted from the code page.
std::u16string RecordedEntryKey(std::string_view sourcePath, std::string_view name);

}  // namespace tarvo
