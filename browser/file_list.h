// List files: a compilation persisted as a 31-byte header and depth-first
// records, little-endian. The browser saves and loads them; the recorder
// reads them to lay out and write the volume. Everything read from a list
// file passes DecodeFileList, which refuses a damaged or hostile file before
// anything uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "browser/compilation_tree.h"

namespace tarvo {

inline constexpr char kFileListMagic[] = "MORVELINE_FILE_ISO_1.00";
inline constexpr size_t kFileListMagicSize = 23;
inline constexpr size_t kFileListHeaderSize = 31;
// Path table directory numbers are 16-bit and the root takes number 1.
inline constexpr uint32_t kMaxListDirectories = 65534;
inline constexpr size_t kMaxListFileBytes = 256u << 20;

struct ListRecord {
  uint32_t level = 0;
  std::string name;
  std::string sourcePath;
  EntryKind kind = EntryKind::Local;
  SystemTime date;
  uint32_t size = 0;
  uint32_t attributes = 0;

  bool IsDirectory() const { return (attributes & 0x10) != 0; }
  bool IsMarker() const { return kind == EntryKind::EmptyDirMarker; }
};

struct FileList {
  uint32_t levelCount = 1;          // highest level of any record + 1
  uint32_t directoryCapacity = 10;  // directory records (markers not counted) + 10
  std::vector<ListRecord> records;
};

enum class ListStatus : uint8_t {
  Ok,
  CantOpen,     // the file can't be opened or read
  NotAList,     // wrong or short magic
  ShortHeader,  // good magic, header shorter than 31 bytes
  Damaged,      // breaks the format; the detail says how
};

std::vector<uint8_t> EncodeFileList(const FileList& list);

// Decodes and checks a whole list file. `detail` names what is wrong with a
// damaged one: a record cut short, a name or path over 255 bytes, an unknown
// kind, a level that jumps, an empty directory without its marker, a file of
// 2 GiB or more, more than 65,535 directories, header counts that differ
// from the records.
ListStatus DecodeFileList(const uint8_t* bytes, size_t size, FileList& list, std::string& detail);

// The structure checks of DecodeFileList on records already in memory;
// nullptr when the list is sound.
const char* CheckFileList(const FileList& list);

// Reads and decodes the list file at `path`.
ListStatus ReadFileList(const std::string& path, FileList& list, std::string& detail);

// The records of `tree`, depth first, with a marker after every empty
// directory, and the header counts.
FileList FileListFromTree(const CompilationTree& tree);

}  // namespace tarvo
