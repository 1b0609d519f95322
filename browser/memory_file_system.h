// An in-memory file system for tests: Windows-style paths ("C:\\dir\\file"),
// names compared case-insensitively, listings in the order entries were
// added (as an unsorted file system would give them).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "browser/file_system.h"

namespace tarvo {

class MemoryFileSystem final : public FileSystem {
 public:
  // Adds a directory (and any missing parents, and the drive).
  void AddDirectory(const std::string& path, SystemTime modified = {}, SystemTime createdUtc = {},
                    uint32_t attributes = kFileAttributeDirectory);
  void AddFile(const std::string& path, uint64_t size, SystemTime modified = {},
               uint32_t attributes = kFileAttributeArchive);
  // Removes an entry and everything below it.
  void Remove(const std::string& path);
  void SetDrive(const std::string& root, DriveType type, const std::string& label, uint64_t freeBytes);
  void SetClock(const SystemTime& local, const SystemTime& utc);

  // Counts the existence tests, so that tests can see a load ask once per folder.
  size_t existsCalls = 0;

  char Separator() const override { return '\\'; }
  bool ListFolder(const std::string& directory, std::vector<FileInfo>& entries) override;
  bool Lookup(const std::string& path, FileInfo& info) override;
  bool Exists(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  std::vector<std::string> LogicalDrives() override;
  DriveType DriveTypeOf(const std::string& root) override;
  bool DriveLabel(const std::string& root, std::string& label) override;
  bool FreeBytes(const std::string& path, uint64_t& bytes) override;
  SystemTime LocalTime() override { return local_; }
  SystemTime UtcTime() override { return utc_; }

 private:
  struct Item {
    FileInfo info;
    std::vector<std::string> children;  // keys, in the order added
  };
  struct Drive {
    DriveType type = DriveType::Fixed;
    std::string label;
    uint64_t freeBytes = 0;
  };

  static std::string Key(const std::string& path);
  Item* Find(const std::string& path);
  Item& Ensure(const std::string& path);

  std::map<std::string, Item> items_;
  std::map<std::string, Drive> drives_;  // by key of the root ("c:")
  SystemTime local_;
  SystemTime utc_;
};

}  // namespace tarvo
