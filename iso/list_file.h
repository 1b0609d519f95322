// The recorder's reading of a compilation list file ("MORVELINE_FILE_ISO_1.00"
// header, then records in depth-first order), the checks that keep a damaged
// or hostile list from producing a broken volume, and the identifiers of
// every entry in both trees.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "iso/record_date.h"

namespace tarvo {

inline constexpr std::string_view kListFileMagic = "MORVELINE_FILE_ISO_1.00";
inline constexpr size_t kListFileHeaderSize = 31;

// Kind byte values the recorder tells apart; every other value is an
// ordinary entry.
inline constexpr uint8_t kListKindRecorded = 1;
inline constexpr uint8_t kListKindEmptyDirMarker = 50;
inline constexpr uint32_t kListAttributeDirectory = 0x10;

struct ListEntry {
  uint32_t level = 0;
  std::string name;
  std::string sourcePath;  // directory path ending in a backslash
  uint8_t kind = 0;
  RecordDate date;
  uint32_t size = 0;
  uint32_t attributes = 0;
  // Filled by AssignIdentifiers: index 0 primary, 1 Joliet.
  std::string identifier[2];

  bool IsMarker() const { return kind == kListKindEmptyDirMarker; }
  bool IsDirectory() const { return !IsMarker() && (attributes & kListAttributeDirectory) != 0; }
  bool IsFile() const { return !IsMarker() && (attributes & kListAttributeDirectory) == 0; }
  bool IsRecorded() const { return kind == kListKindRecorded; }
};

struct ListFile {
  bool magicOk = false;
  uint32_t levelCount = 0;
  uint32_t directoryCapacity = 0;
  std::vector<ListEntry> entries;
};

enum class ListReadStatus {
  Ok,
  ShortHeader,  // fewer than 31 bytes
  Damaged,      // a record runs past the end of the file, or a length above 255
};

struct ListReadResult {
  ListReadStatus status = ListReadStatus::Ok;
  std::string problem;  // what is wrong, for the refusal message
};

ListReadResult ReadListFile(const uint8_t* data, size_t size, ListFile& list);

// Empty when the list can be laid out as it stands; otherwise why not.
std::string CheckListForRecording(const ListFile& list);

// Sets identifier[0] and identifier[1] of every entry, unique within each
// directory (markers get none).
void AssignIdentifiers(ListFile& list);

}  // namespace tarvo
