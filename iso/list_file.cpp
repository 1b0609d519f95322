#include "iso/list_file.h"

#include <map>

#include "iso/stream_reader.h"
#include "iso/iso_names.h"

namespace tarvo {

namespace {

constexpr uint32_t kMaxNameBytes = 255;
constexpr uint32_t kMaxLevel = 255;
// Path table directory numbers are 16-bit; the root takes number 1.
constexpr size_t kMaxDirectories = 65535;
constexpr uint32_t kMaxFileSize = 0x7FFFFFFF;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }
std::string Number(uint64_t n) { return std::to_string(n); }

bool IsCarriableName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

}  // namespace

ListReadResult ReadListFile(const uint8_t* data, size_t size, ListFile& list) {
  list = ListFile();
  StreamReader reader(data, size);
  if (size < kListFileHeaderSize) return {ListReadStatus::ShortHeader, "the header ends early"};
  list.magicOk = reader.Bytes(kListFileMagic.size()) == kListFileMagic;
  list.levelCount = reader.U32();
  list.directoryCapacity = reader.U32();
  while (!reader.AtEnd()) {
    ListEntry entry;
    const size_t recordStart = reader.position();
    entry.level = reader.U32();
    const uint16_t nameLength = reader.U16();
    if (nameLength > kMaxNameBytes)
      return {ListReadStatus::Damaged, "a name of " + Number(nameLength) + " bytes at offset " + Number(recordStart)};
    entry.name = reader.Bytes(nameLength);
    const uint16_t pathLength = reader.U16();
    if (pathLength > kMaxNameBytes)
      return {ListReadStatus::Damaged, "a path of " + Number(pathLength) + " bytes at offset " + Number(recordStart)};
    entry.sourcePath = reader.Bytes(pathLength);
    entry.kind = reader.U8();
    uint16_t* date[] = {&entry.date.year,   &entry.date.month,  &entry.date.dayOfWeek, &entry.date.day,
                        &entry.date.hour,   &entry.date.minute, &entry.date.second,    &entry.date.milliseconds};
    for (uint16_t* field : date) *field = reader.U16();
    entry.size = reader.U32();
    entry.attributes = reader.U32();
    if (!reader.ok())
      return {ListReadStatus::Damaged, "the file ends inside the record at offset " + Number(recordStart)};
    list.entries.push_back(std::move(entry));
  }
  return {};
}

std::string CheckListForRecording(const ListFile& list) {
  size_t directories = 0;
  uint32_t deepest = 0;
  const ListEntry* previous = nullptr;
  for (const ListEntry& entry : list.entries) {
    if (!entry.IsMarker() && !IsCarriableName(entry.name))
      return "an entry has a name that no file can carry: " + Quoted(entry.name);
    const uint32_t expectedMax = previous == nullptr ? 0 : previous->level + (previous->IsDirectory() ? 1 : 0);
    if (entry.level > expectedMax) {
      return previous != nullptr && entry.level == previous->level + 1
                 ? "entries stand below the file " + Quoted(previous->name)
                 : "the level jumps from " + Number(previous == nullptr ? 0 : previous->level) + " to " +
                       Number(entry.level) + " at " + Quoted(entry.name);
    }
    if (previous != nullptr && previous->IsDirectory() && entry.level <= previous->level)
      return "the directory " + Quoted(previous->name) + " has neither entries nor its empty-directory marker";
    if (entry.level > kMaxLevel) return "the entry " + Quoted(entry.name) + " is nested deeper than 256 levels";
    if (entry.IsDirectory()) ++directories;
    if (entry.IsFile() && entry.size > kMaxFileSize)
      return "the file " + Quoted(entry.name) + " is 2 GiB or larger";
    if (entry.level > deepest) deepest = entry.level;
    previous = &entry;
  }
  if (previous != nullptr && previous->IsDirectory())
    return "the directory " + Quoted(previous->name) + " has neither entries nor its empty-directory marker";
  if (!list.entries.empty() && list.levelCount <= deepest)
    return "the level count " + Number(list.levelCount) + " is smaller than the depth " + Number(deepest + 1ul);
  if (list.directoryCapacity < directories)
    return "the directory count " + Number(list.directoryCapacity) + " is smaller than the " +
           Number(directories) + " directories present";
  if (directories + 1 > kMaxDirectories)
    return Number(directories + 1) + " directories are more than a volume can hold (65535)";
  return {};
}

void AssignIdentifiers(ListFile& list) {
  // Entries grouped by the directory that holds them (-1: the root).
  std::map<long, std::vector<size_t>> children;
  std::vector<long> openDirectory;  // per level, the index of the directory whose entries follow
  for (size_t i = 0; i < list.entries.size(); ++i) {
    const ListEntry& entry = list.entries[i];
    const size_t level = entry.level;
    const long parent = level == 0 || level > openDirectory.size() ? -1 : openDirectory[level - 1];
    if (!entry.IsMarker()) children[parent].push_back(i);
    if (entry.IsDirectory()) {
      openDirectory.resize(std::min(level, openDirectory.size()));
      openDirectory.push_back(static_cast<long>(i));
    }
  }
  for (const auto& [parent, members] : children) {
    std::vector<NameItem> items;
    items.reserve(members.size());
    for (size_t i : members) items.push_back({list.entries[i].name, list.entries[i].IsDirectory()});
    for (int tree = 0; tree < 2; ++tree) {
      std::vector<std::string> ids = DirectoryIdentifiers(items, static_cast<TreeKind>(tree));
      for (size_t k = 0; k < members.size(); ++k) list.entries[members[k]].identifier[tree] = std::move(ids[k]);
    }
  }
}

}  // namespace tarvo
