// Test helper: list files built byte by byte in the list-file layout
// (31-byte header, then records), so tests can also build broken ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "iso/list_file.h"
#include "iso/record_date.h"

namespace tarvo::test {

struct TestEntry {
  uint32_t level = 0;
  std::string name;
  std::string path;
  uint8_t kind = 0;
  uint32_t size = 0;
  uint32_t attributes = 0x20;
  RecordDate date{2007, 3, 1, 5, 12, 34, 56, 789};
};

inline TestEntry File(uint32_t level, std::string name, uint32_t size, std::string path = "C:\\src\\") {
  return {level, std::move(name), std::move(path), 0, size, 0x20};
}
inline TestEntry Dir(uint32_t level, std::string name, std::string path = "C:\\src\\") {
  return {level, std::move(name), std::move(path), 0, 0, 0x10};
}
inline TestEntry Marker(uint32_t level) { return {level, "a", "a", kListKindEmptyDirMarker, 0, 0x10}; }

inline void PutU16(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
inline void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

inline std::string RecordBytes(const TestEntry& e) {
  std::string out;
  PutU32(out, e.level);
  PutU16(out, uint16_t(e.name.size()));
  out += e.name;
  PutU16(out, uint16_t(e.path.size()));
  out += e.path;
  out.push_back(char(e.kind));
  for (uint16_t v : {e.date.year, e.date.month, e.date.dayOfWeek, e.date.day, e.date.hour, e.date.minute,
                     e.date.second, e.date.milliseconds})
    PutU16(out, v);
  PutU32(out, e.size);
  PutU32(out, e.attributes);
  return out;
}

// Header counts as the browser writes them unless given.
inline std::string ListBytes(const std::vector<TestEntry>& entries, int64_t levelCount = -1,
                             int64_t directoryCapacity = -1, std::string magic = std::string(kListFileMagic)) {
  uint32_t deepest = 0, directories = 0;
  for (const TestEntry& e : entries) {
    deepest = std::max(deepest, e.level + 1);
    if ((e.attributes & 0x10) && e.kind != kListKindEmptyDirMarker) ++directories;
  }
  std::string out = magic;
  PutU32(out, levelCount >= 0 ? uint32_t(levelCount) : std::max(deepest, 1u));
  PutU32(out, directoryCapacity >= 0 ? uint32_t(directoryCapacity) : directories + 10);
  for (const TestEntry& e : entries) out += RecordBytes(e);
  return out;
}

inline ListFile ParsedList(const std::string& bytes) {
  ListFile list;
  ReadListFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), list);
  AssignIdentifiers(list);
  return list;
}

}  // namespace tarvo::test
