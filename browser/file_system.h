// The file-system seam: everything the compilation model, the browser window
// and the recorder ask of the machine's drives. Implementations: Win32
// (fs_win.cpp), POSIX (fs_posix.cpp) and an in-memory fake for tests
// (memory_file_system.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "browser/system_time.h"

namespace tarvo {

// Win32 file attribute bits as directory listings report them.
inline constexpr uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;

// One entry of a directory listing.
struct FileInfo {
  std::string name;
  uint32_t attributes = 0;
  uint64_t size = 0;
  SystemTime modified;    // local time, 2-second resolution, milliseconds 0
  SystemTime createdUtc;  // creation time in UTC

  bool IsDirectory() const { return (attributes & kFileAttributeDirectory) != 0; }
};

// The values of Win32's GetDriveType, in its order.
enum class DriveType : uint8_t { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The separator of this system's paths: '\\' on Windows (and in the fake),
  // '/' for POSIX. Every directory path handed around ends in it.
  virtual char Separator() const = 0;

  // Every entry of `directory` (a path ending in the separator), with all
  // attribute kinds (hidden, system, read-only, archive), "." and ".." left
  // out, in the system's listing order. False when it can't be listed.
  virtual bool ListFolder(const std::string& directory, std::vector<FileInfo>& entries) = 0;

  // The entry at `path` (a file or a directory, no trailing separator) as
  // its parent's listing shows it. False when there is none.
  virtual bool Lookup(const std::string& path, FileInfo& info) = 0;

  // True when a file or directory exists at `path`; a trailing separator
  // (a directory path, a drive root) is allowed.
  virtual bool Exists(const std::string& path) = 0;

  // `path` made absolute with this system's separators, without a trailing
  // separator except for a root; empty when that fails.
  virtual std::string FullPath(const std::string& path) = 0;

  // The roots of the logical drives ("C:\\", ... or "/").
  virtual std::vector<std::string> LogicalDrives() = 0;
  virtual DriveType DriveTypeOf(const std::string& root) = 0;
  // The volume label of the drive at `root`; false when it can't be read.
  virtual bool DriveLabel(const std::string& root, std::string& label) = 0;
  // Bytes free for the caller on the drive that holds `path`.
  virtual bool FreeBytes(const std::string& path, uint64_t& bytes) = 0;

  virtual SystemTime LocalTime() = 0;
  virtual SystemTime UtcTime() = 0;
};

// The machine's own file system (Win32 in the mingw build, POSIX natively).
std::unique_ptr<FileSystem> MakeSystemFileSystem();

// `directory` with a separator appended unless it already ends in one.
std::string WithTrailingSeparator(const std::string& directory, char separator);

}  // namespace tarvo
