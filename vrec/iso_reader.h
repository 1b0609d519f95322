// A small, bounds-checked ISO-9660 reader (ECMA-119 with the Joliet
// supplementary descriptor) for the mirror folder and the vrec tool: finds a
// session's volume descriptors and lists its directory tree. Every field
// read from the disc is checked against the bytes that were read; damaged
// structures end the walk of that directory instead of reading past them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvo::vrec {

// Reads one 2048-byte sector at an absolute address; false when unreadable.
using SectorReader = std::function<bool(int32_t lba, uint8_t* out)>;

// ECMA-119 9.1.5 recording date and time.
struct RecordingTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  int offsetQuarterHours = 0;  // from GMT
  int64_t UnixSeconds() const;
};

struct IsoEntry {
  std::u16string name;  // version suffix ";1" removed
  bool directory = false;
  uint32_t extent = 0;
  uint32_t size = 0;
  RecordingTime time;
  std::vector<IsoEntry> children;
};

struct IsoVolume {
  bool joliet = false;  // the tree is the Joliet tree
  std::u16string label;
  uint32_t volumeSpaceSize = 0;
  IsoEntry root;
};

// Reads the volume whose system area starts at `sessionStart`; prefers the
// Joliet tree and falls back to the primary one. False when no volume is there.
bool ReadIsoVolume(const SectorReader& read, int32_t sessionStart, IsoVolume* volume);

std::string ToUtf8(const std::u16string& text);

}  // namespace tarvo::vrec
