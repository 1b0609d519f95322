#include "browser/file_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "browser/bounded_reader.h"

namespace tarvo {

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutText(std::vector<uint8_t>& out, const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), 255);
  Put16(out, static_cast<uint16_t>(n));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

bool KnownKind(uint8_t kind) {
  return kind == static_cast<uint8_t>(EntryKind::Local) || kind == static_cast<uint8_t>(EntryKind::Recorded) ||
         kind == static_cast<uint8_t>(EntryKind::EmptyDirMarker) ||
         kind == static_cast<uint8_t>(EntryKind::Created);
}

ListRecord Marker(const ListRecord& directory) {
  ListRecord marker;
  marker.level = directory.level + 1;
  marker.name = "a";
  marker.sourcePath = "a";
  marker.kind = EntryKind::EmptyDirMarker;
  marker.date = directory.date;
  marker.size = directory.size;
  marker.attributes = directory.attributes;
  return marker;
}

ListRecord RecordOf(const CompilationTree& tree, EntryId id) {
  const CompilationEntry& entry = *tree.Entry(id);
  ListRecord record;
  record.level = tree.Level(id);
  record.name = tree.Name(id);
  record.sourcePath = entry.sourcePath;
  record.kind = entry.kind;
  record.date = entry.date;
  record.size = entry.size;
  record.attributes = entry.attributes;
  return record;
}

}  // namespace

std::vector<uint8_t> EncodeFileList(const FileList& list) {
  std::vector<uint8_t> out(kFileListMagic, kFileListMagic + kFileListMagicSize);
  Put32(out, list.levelCount);
  Put32(out, list.directoryCapacity);
  for (const ListRecord& r : list.records) {
    Put32(out, r.level);
    PutText(out, r.name);
    PutText(out, r.sourcePath);
    out.push_back(static_cast<uint8_t>(r.kind));
    for (uint16_t field : {r.date.year, r.date.month, r.date.dayOfWeek, r.date.day, r.date.hour, r.date.minute,
                           r.date.second, r.date.milliseconds})
      Put16(out, field);
    Put32(out, r.size);
    Put32(out, r.attributes);
  }
  return out;
}

ListStatus DecodeFileList(const uint8_t* bytes, size_t size, FileList& list, std::string& detail) {
  list = FileList{};
  detail.clear();
  if (size < kFileListMagicSize || std::memcmp(bytes, kFileListMagic, kFileListMagicSize) != 0) return ListStatus::NotAList;
  if (size < kFileListHeaderSize) return ListStatus::ShortHeader;
  BoundedReader reader(bytes + kFileListMagicSize, size - kFileListMagicSize);
  list.levelCount = reader.U32();
  list.directoryCapacity = reader.U32();
  while (!reader.AtEnd()) {
    ListRecord r;
    r.level = reader.U32();
    const uint16_t nameLength = reader.U16();
    if (nameLength > kMaxNameBytes) {
      detail = "a name is longer than 255 bytes";
      return ListStatus::Damaged;
    }
    r.name = reader.Text(nameLength);
    const uint16_t pathLength = reader.U16();
    if (pathLength > kMaxSourcePathBytes) {
      detail = "a source path is longer than 255 bytes";
      return ListStatus::Damaged;
    }
    r.sourcePath = reader.Text(pathLength);
    const uint8_t kind = reader.U8();
    r.kind = static_cast<EntryKind>(kind);
    r.date.year = reader.U16();
    r.date.month = reader.U16();
    r.date.dayOfWeek = reader.U16();
    r.date.day = reader.U16();
    r.date.hour = reader.U16();
    r.date.minute = reader.U16();
    r.date.second = reader.U16();
    r.date.milliseconds = reader.U16();
    r.size = reader.U32();
    r.attributes = reader.U32();
    if (!reader.ok()) {
      detail = "it ends inside a record";
      return ListStatus::Damaged;
    }
    if (!KnownKind(kind)) {
      detail = "an entry has an unknown kind";
      return ListStatus::Damaged;
    }
    list.records.push_back(std::move(r));
  }
  if (const char* problem = CheckFileList(list)) {
    detail = problem;
    return ListStatus::Damaged;
  }
  return ListStatus::Ok;
}

const char* CheckFileList(const FileList& list) {
  uint32_t directories = 0;
  uint32_t highest = 0;
  const ListRecord* previous = nullptr;
  for (const ListRecord& r : list.records) {
    highest = std::max(highest, r.level);
    const bool openDirectory = previous != nullptr && !previous->IsMarker() && previous->IsDirectory();
    if (r.IsMarker()) {
      if (!openDirectory || r.level != previous->level + 1) return "a marker follows no directory";
    } else {
      if (const char* problem = EntryProblem(r.name, r.sourcePath, r.size, r.attributes)) return problem;
      if (r.level > kMaxEntryLevel) return "an entry is nested deeper than 255 levels";
      if (previous == nullptr) {
        if (r.level != 0) return "the first entry is not at level 0";
      } else if (openDirectory) {
        if (r.level > previous->level + 1) return "an entry lies more than one level below its directory";
        if (r.level <= previous->level) return "an empty directory has no marker";
      } else {
        if (previous->IsMarker() && r.level >= previous->level) return "an entry follows an empty directory's marker";
        if (r.level > previous->level) return "an entry lies below a file";
      }
      if (r.IsDirectory() && ++directories > kMaxListDirectories) return "it holds more than 65,535 directories";
    }
    previous = &r;
  }
  if (previous != nullptr && !previous->IsMarker() && previous->IsDirectory()) return "an empty directory has no marker";
  const uint32_t levelCount = list.records.empty() ? 1 : highest + 1;
  if (list.levelCount != levelCount || list.directoryCapacity != directories + 10)
    return "its header counts do not match its entries";
  return nullptr;
}

ListStatus ReadFileList(const std::string& path, FileList& list, std::string& detail) {
  list = FileList{};
  detail.clear();
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return ListStatus::CantOpen;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + n > kMaxListFileBytes) {
      detail = "it is larger than 256 MiB";
      return ListStatus::Damaged;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  if (std::ferror(file.get())) return ListStatus::CantOpen;
  return DecodeFileList(bytes.data(), bytes.size(), list, detail);
}

FileList FileListFromTree(const CompilationTree& tree) {
  FileList list;
  uint32_t directories = 0;
  uint32_t highest = 0;
  EntryId id = tree.FirstChild(kRootEntry);
  while (id != kNoEntry) {
    list.records.push_back(RecordOf(tree, id));
    highest = std::max(highest, list.records.back().level);
    if (tree.IsDirectory(id)) {
      ++directories;
      if (tree.FirstChild(id) != kNoEntry) {
        id = tree.FirstChild(id);
        continue;
      }
      list.records.push_back(Marker(list.records.back()));
      highest = std::max(highest, list.records.back().level);
    }
    while (id != kRootEntry && tree.NextSibling(id) == kNoEntry) id = tree.Parent(id);
    id = id == kRootEntry ? kNoEntry : tree.NextSibling(id);
  }
  list.levelCount = list.records.empty() ? 1 : highest + 1;
  list.directoryCapacity = directories + 10;
  return list;
}

}  // namespace tarvo
