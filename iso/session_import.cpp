#include "iso/session_import.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <unordered_set>

#include "iso/codepage.h"
#include "iso/iso_numbers.h"

namespace tarvo {

namespace {

using Sector = std::array<uint8_t, kSectorSize>;

// ECMA-119 9.1: a record holds 33 fixed bytes and an identifier of at least
// one byte.
constexpr uint32_t kShortestRecord = 34;
// ECMA-119 9.1.6: file flags bit 0 hidden, bit 1 directory. Other bits
// (associated file, record format, multi-extent) mark files that are not
// carried over.
constexpr uint8_t kFlagHidden = 0x01;
constexpr uint8_t kFlagDirectory = 0x02;
// More sectors than any CD holds (99 minutes of 75 blocks a second): a
// hostile volume never makes the walk read for long.
constexpr uint64_t kMostSectorsOfADisc = 99ull * 60 * 75;
// Characters of the paths the walk builds, each path also charged for the
// map entry it may become. Reads alone do not bound the work: a chain of
// directories with long names nested thousands deep makes every path longer
// than the last (hours of copying), and a disc full of file records makes
// millions of keys (gigabytes). A session that needs more than this (a
// quarter of a million files with 100-character paths) counts as one that
// cannot be read.
constexpr uint64_t kMostPathCharacters = uint64_t(1) << 25;
constexpr uint64_t kPathCharge = 32;

struct Descriptor {
  bool joliet = false;
  uint32_t volumeEnd = 0;   // one past the volume's last sector, at most the disc's size
  uint32_t rootExtent = 0;
  uint32_t rootLength = 0;  // bytes
};

// ECMA-119 8.4.1-8.4.2 and 8.5 (Joliet): type byte and "CD001".
bool IsDescriptor(const Sector& sector, uint8_t type) {
  return sector[0] == type && std::memcmp(sector.data() + 1, "CD001", 5) == 0;
}

bool FindDescriptor(const SectorReader& read, uint32_t primaryAddress, Descriptor& found) {
  Sector sector{};
  found.joliet = read(primaryAddress + 1, sector.data()) && IsDescriptor(sector, 2);
  if (!found.joliet && !(read(primaryAddress, sector.data()) && IsDescriptor(sector, 1))) return false;
  // ECMA-119 8.4.8 volume space size, 8.4.18 root record (extent at byte 2,
  // data length at byte 10 of the record).
  const uint64_t volumeStart = primaryAddress - 16;
  found.volumeEnd = static_cast<uint32_t>(
      std::min<uint64_t>(volumeStart + GetLsb32(sector.data() + 80), kMostSectorsOfADisc));
  found.rootExtent = GetLsb32(sector.data() + 158);
  found.rootLength = GetLsb32(sector.data() + 166);
  return true;
}

// A directory record at `at` that lies whole within the sector and is long
// enough for its own identifier.
bool RecordFits(const Sector& sector, uint32_t at) {
  if (at + kShortestRecord > kSectorSize) return false;
  const uint32_t length = sector[at];
  if (length < kShortestRecord || at + length > kSectorSize) return false;
  return 33u + sector[at + 32] <= length;  // ECMA-119 9.1.10 identifier length
}

// ECMA-119 6.8.2.2: the identifiers 00h and 01h are "." and "..".
bool IsSelfOrParent(const uint8_t* record) { return record[32] == 1 && record[33] <= 1; }

std::u16string IdentifierText(const uint8_t* record, bool joliet) {
  const uint8_t length = record[32];
  const uint8_t* id = record + 33;
  std::u16string text;
  if (joliet) {
    for (uint32_t i = 0; i + 1 < length; i += 2) text.push_back(static_cast<char16_t>(GetMsb16(id + i)));
  } else {
    for (uint32_t i = 0; i < length; ++i) text.push_back(id[i]);
  }
  return text;
}

struct PendingDirectory {
  uint32_t extent = 0;
  uint32_t length = 0;
  std::u16string path;  // "" for the root, else ending in '\'
};

}  // namespace

uint32_t PreviousSession::ExtentOf(const std::u16string& key) const {
  const auto found = extents.find(key);
  return found != extents.end() ? found->second : 0;
}

std::u16string SessionPathKey(std::u16string_view path) {
  std::u16string key;
  size_t begin = 0;
  while (begin <= path.size()) {
    size_t end = path.find(u'\\', begin);
    if (end == std::u16string_view::npos) end = path.size();
    std::u16string_view name = path.substr(begin, end - begin);
    // ECMA-119 7.5.1: the version follows the last ';'.
    if (const size_t version = name.rfind(u';'); version != std::u16string_view::npos) name = name.substr(0, version);
    if (!name.empty() && name.back() == u'.') name.remove_suffix(1);
    if (!key.empty() || begin > 0) key.push_back(u'\\');
    for (char16_t c : name) key.push_back(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c);
    begin = end + 1;
  }
  return key;
}

std::u16string RecordedEntryKey(std::string_view sourcePath, std::string_view name) {
  const size_t root = sourcePath.find('\\');
  const std::string_view below = root == std::string_view::npos ? std::string_view{} : sourcePath.substr(root + 1);
  std::string path(below);
  path += name;
  return SessionPathKey(CodePageToUcs2(path));
}

PreviousSession ImportPreviousSession(const SectorReader& read, uint32_t descriptorAddress) {
  PreviousSession session;
  Descriptor volume;
  if (descriptorAddress < 16 || !FindDescriptor(read, descriptorAddress, volume)) return session;
  // The directories of a session are written with it: they lie above its
  // descriptors and inside its volume.
  const auto insideVolume = [&](uint32_t extent) { return extent > descriptorAddress && extent < volume.volumeEnd; };
  if (!insideVolume(volume.rootExtent)) return session;

  std::deque<PendingDirectory> pending{{volume.rootExtent, volume.rootLength, {}}};
  std::unordered_set<uint32_t> seen{volume.rootExtent};
  uint64_t budget = kMostSectorsOfADisc;  // sectors the walk may read in all
  uint64_t characters = 0;                 // path characters built so far
  Sector sector{};
  while (!pending.empty()) {
    const PendingDirectory directory = std::move(pending.front());
    pending.pop_front();
    const bool isRoot = directory.extent == volume.rootExtent;
    const uint64_t end = std::min<uint64_t>(uint64_t(directory.extent) + std::max<uint32_t>(SectorsFor(directory.length), 1),
                                            volume.volumeEnd);
    for (uint64_t address = directory.extent; address < end && budget > 0; ++address, --budget) {
      if (!read(static_cast<uint32_t>(address), sector.data())) {
        if (isRoot && address == directory.extent) return session;
        break;
      }
      if (isRoot && address == directory.extent) {
        // ECMA-119 6.8.2.2: the root begins with its own "." record; anything
        // else is not a directory of this volume.
        if (!RecordFits(sector, 0) || (sector[25] & kFlagDirectory) == 0 ||
            GetLsb32(sector.data() + 2) != directory.extent)
          return session;
      }
      for (uint32_t at = 0; RecordFits(sector, at); at += sector[at]) {
        const uint8_t* record = sector.data() + at;
        if (IsSelfOrParent(record)) continue;
        const uint8_t flags = record[25];
        const uint32_t extent = GetLsb32(record + 2);
        const bool isDirectory = (flags & kFlagDirectory) != 0;
        if (isDirectory ? !insideVolume(extent) || !seen.insert(extent).second : (flags & ~kFlagHidden) != 0)
          continue;
        const std::u16string path = directory.path + IdentifierText(record, volume.joliet);
        characters += path.size() + kPathCharge;
        if (characters > kMostPathCharacters) return PreviousSession{};
        if (isDirectory) {
          pending.push_back({extent, GetLsb32(record + 10), path + u'\\'});
        } else {
          session.extents.emplace(SessionPathKey(path), extent);
        }
      }
    }
  }
  session.imported = true;
  return session;
}

}  // namespace tarvo
