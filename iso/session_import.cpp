#include "iso/session_import.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "iso/iso_numbers.h"

namespace tarvo {

namespace {

using Sector = std::array<uint8_t, kSectorSize>;

// ECMA-119 9.1: a record holds 33 fixed bytes and an identifier of at least
// one byte.
constexpr uint32_t kShortestRecord = 34;
// ECMA-119 9.1.6: file flags bit 1, directory.
constexpr uint8_t kFlagDirectory = 0x02;
// More sectors than any CD holds (99 minutes of 75 blocks a second): a
// hostile descriptor never makes the scan run on for long.
constexpr uint64_t kMostSectorsOfADisc = 99ull * 60 * 75;

struct Descriptor {
  uint32_t volumeStart = 0;     // where sector 0 of the volume lies
  uint64_t volumeEnd = 0;       // one past the volume's last sector
  uint32_t rootExtent = 0;      // R
  uint32_t lPathTable = 0;      // T
};

// ECMA-119 8.4.1-8.4.2 and 8.5 (Joliet): type byte and "CD001".
bool IsDescriptor(const Sector& sector, uint8_t type) {
  return sector[0] == type && std::memcmp(sector.data() + 1, "CD001", 5) == 0;
}

bool FindDescriptor(const SectorReader& read, uint32_t primaryAddress, Descriptor& found) {
  Sector sector{};
  bool ok = read(primaryAddress + 1, sector.data()) && IsDescriptor(sector, 2);
  if (!ok) ok = read(primaryAddress, sector.data()) && IsDescriptor(sector, 1);
  if (!ok) return false;
  found.volumeStart = primaryAddress - 16;
  // ECMA-119 8.4.8 volume space size, 8.4.14 L path table, 8.4.18 root record
  // (its extent at byte 2 of the record).
  const uint32_t volumeSpaceSize = GetLsb32(sector.data() + 80);
  found.volumeEnd = uint64_t(found.volumeStart) + std::min<uint64_t>(volumeSpaceSize, kMostSectorsOfADisc);
  found.lPathTable = GetLsb32(sector.data() + 140);
  found.rootExtent = GetLsb32(sector.data() + 158);
  return true;
}

// A directory record at `at` that lies whole within the sector and is long
// enough for its own identifier.
bool RecordFits(const Sector& sector, uint32_t at) {
  const uint32_t length = sector[at];
  if (length < kShortestRecord || at + length > kSectorSize) return false;
  return 33u + sector[at + 32] <= length;  // ECMA-119 9.1.10 identifier length
}

}  // namespace

PreviousSession ImportPreviousSession(const SectorReader& read, uint32_t descriptorAddress) {
  PreviousSession session;
  Descriptor volume;
  if (descriptorAddress < 16 || !FindDescriptor(read, descriptorAddress, volume)) return session;
  const uint32_t root = volume.rootExtent;
  if (root <= descriptorAddress || root >= volume.volumeEnd) return session;

  // The layout puts a tree's directories contiguously from its root, then its
  // path tables, then the file data: the scan ends at the L path table, or
  // else at the first file's data, and never beyond the volume.
  uint64_t limit = volume.volumeEnd;
  bool limitKnown = false;
  if (volume.lPathTable > root) {
    limit = std::min<uint64_t>(limit, volume.lPathTable);
    limitKnown = true;
  }
  Sector sector{};
  for (uint64_t address = root; address < limit; ++address) {
    if (!read(static_cast<uint32_t>(address), sector.data())) {
      if (address == root) return session;
      break;
    }
    if (address == root) {
      // ECMA-119 6.8.2.2: the root begins with its own "." record; anything
      // else is not a directory of this volume.
      if (!RecordFits(sector, 0) || (sector[25] & kFlagDirectory) == 0 || GetLsb32(sector.data() + 2) != root)
        return session;
    }
    for (uint32_t at = 0; at < kSectorSize && RecordFits(sector, at); at += sector[at]) {
      if (sector[at + 25] != 0) continue;  // only plain files
      const uint32_t extent = GetLsb32(sector.data() + at + 2);
      session.extents.push_back(extent);
      if (!limitKnown && extent > address) {
        limit = std::min<uint64_t>(limit, extent);
        limitKnown = true;
      }
    }
  }
  session.imported = true;
  return session;
}

}  // namespace tarvo
