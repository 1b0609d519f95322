#include "browser/memory_file_system.h"

#include <algorithm>

namespace tarvo {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

std::string Parent(const std::string& key) {
  const size_t cut = key.rfind('\\');
  return cut == std::string::npos ? std::string() : key.substr(0, cut);
}

std::string LastName(const std::string& path) {
  const size_t cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key = path;
  std::replace(key.begin(), key.end(), '/', '\\');
  while (!key.empty() && key.back() == '\\') key.pop_back();
  std::transform(key.begin(), key.end(), key.begin(), Fold);
  return key;
}

MemoryFileSystem::Item* MemoryFileSystem::Find(const std::string& path) {
  const auto found = items_.find(Key(path));
  return found == items_.end() ? nullptr : &found->second;
}

MemoryFileSystem::Item& MemoryFileSystem::Ensure(const std::string& path) {
  const std::string key = Key(path);
  auto found = items_.find(key);
  if (found != items_.end()) return found->second;
  std::string clean = path;
  std::replace(clean.begin(), clean.end(), '/', '\\');
  while (!clean.empty() && clean.back() == '\\') clean.pop_back();
  const std::string parent = Parent(clean);
  if (parent.empty()) {  // a drive root such as "c:"
    drives_.try_emplace(key);
  } else {
    Ensure(parent).children.push_back(key);
  }
  Item& item = items_[key];
  item.info.name = LastName(clean);
  item.info.attributes = kFileAttributeDirectory;
  return item;
}

void MemoryFileSystem::AddDirectory(const std::string& path, SystemTime modified, SystemTime createdUtc,
                                    uint32_t attributes) {
  Item& item = Ensure(path);
  item.info.attributes = attributes | kFileAttributeDirectory;
  item.info.modified = modified;
  item.info.createdUtc = createdUtc;
}

void MemoryFileSystem::AddFile(const std::string& path, uint64_t size, SystemTime modified,
                               uint32_t attributes) {
  Item& item = Ensure(path);
  item.info.attributes = attributes & ~kFileAttributeDirectory;
  item.info.size = size;
  item.info.modified = modified;
  item.info.createdUtc = modified;
}

void MemoryFileSystem::Remove(const std::string& path) {
  const std::string key = Key(path);
  Item* item = Find(path);
  if (item == nullptr) return;
  const std::vector<std::string> children = item->children;
  for (const std::string& child : children) Remove(child);
  items_.erase(key);
  if (Item* parent = Find(Parent(key))) std::erase(parent->children, key);
}

void MemoryFileSystem::SetDrive(const std::string& root, DriveType type, const std::string& label,
                                uint64_t freeBytes) {
  Ensure(root);
  drives_[Key(root)] = Drive{type, label, freeBytes};
}

void MemoryFileSystem::SetClock(const SystemTime& local, const SystemTime& utc) {
  local_ = local;
  utc_ = utc;
}

bool MemoryFileSystem::ListFolder(const std::string& directory, std::vector<FileInfo>& entries) {
  entries.clear();
  Item* item = Find(directory);
  if (item == nullptr || !item->info.IsDirectory()) return false;
  for (const std::string& child : item->children) entries.push_back(items_.at(child).info);
  return true;
}

bool MemoryFileSystem::Lookup(const std::string& path, FileInfo& info) {
  const std::string key = Key(path);
  if (Parent(key).empty()) return false;  // a drive root has no listing entry
  Item* item = Find(path);
  if (item == nullptr) return false;
  info = item->info;
  return true;
}

bool MemoryFileSystem::Exists(const std::string& path) {
  ++existsCalls;
  return !path.empty() && Find(path) != nullptr;
}

std::string MemoryFileSystem::FullPath(const std::string& path) {
  std::string full = path;
  std::replace(full.begin(), full.end(), '/', '\\');
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

std::vector<std::string> MemoryFileSystem::LogicalDrives() {
  std::vector<std::string> roots;
  for (const auto& [key, drive] : drives_) {
    std::string root = key + "\\";
    root[0] = static_cast<char>(root[0] - ('a' - 'A'));
    roots.push_back(root);
  }
  return roots;
}

DriveType MemoryFileSystem::DriveTypeOf(const std::string& root) {
  const auto found = drives_.find(Key(root));
  return found == drives_.end() ? DriveType::NoRootDir : found->second.type;
}

bool MemoryFileSystem::DriveLabel(const std::string& root, std::string& label) {
  const auto found = drives_.find(Key(root));
  if (found == drives_.end()) return false;
  label = found->second.label;
  return true;
}

bool MemoryFileSystem::FreeBytes(const std::string& path, uint64_t& bytes) {
  std::string key = Key(path);
  const size_t colon = key.find(':');
  const auto found = drives_.find(key.substr(0, colon == std::string::npos ? 0 : colon + 1));
  if (found == drives_.end()) return false;
  bytes = found->second.freeBytes;
  return true;
}

}  // namespace tarvo
