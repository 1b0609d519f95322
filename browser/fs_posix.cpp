// The file-system seam on POSIX systems (the native build). Paths use '/'.
// Only directories and regular files are listed: symbolic links to
// directories are left out, so that a link back to an ancestor can't send a
// walk round in circles, and devices, pipes and sockets hold no data to record.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "browser/file_system.h"

namespace tarvo {

namespace {

SystemTime FromTm(const std::tm& tm, uint16_t milliseconds) {
  SystemTime t;
  t.year = static_cast<uint16_t>(tm.tm_year + 1900);
  t.month = static_cast<uint16_t>(tm.tm_mon + 1);
  t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
  t.day = static_cast<uint16_t>(tm.tm_mday);
  t.hour = static_cast<uint16_t>(tm.tm_hour);
  t.minute = static_cast<uint16_t>(tm.tm_min);
  t.second = static_cast<uint16_t>(tm.tm_sec);
  t.milliseconds = milliseconds;
  return t;
}

SystemTime Local(time_t seconds, uint16_t milliseconds) {
  std::tm tm{};
  localtime_r(&seconds, &tm);
  return FromTm(tm, milliseconds);
}

SystemTime Utc(time_t seconds, uint16_t milliseconds) {
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  return FromTm(tm, milliseconds);
}

std::string LastName(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Fills `info` for the entry at `path`; false for what is not listed.
bool Describe(const std::string& path, const std::string& name, FileInfo& info) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return false;
  if (S_ISLNK(st.st_mode)) {
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  }
  if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) return false;
  info.name = name;
  info.attributes = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
  if (!name.empty() && name[0] == '.') info.attributes |= kFileAttributeHidden;
  if ((st.st_mode & S_IWUSR) == 0) info.attributes |= kFileAttributeReadOnly;
  info.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  SystemTime modified = Local(st.st_mtime, 0);
  modified.second &= ~1u;  // directory listings of the FAT era: 2-second steps
  info.modified = modified;
  time_t created = st.st_mtime;
#ifdef STATX_BTIME
  struct statx sx {};
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
    created = static_cast<time_t>(sx.stx_btime.tv_sec);
#endif
  info.createdUtc = Utc(created, 0);
  return true;
}

class PosixFileSystem final : public FileSystem {
 public:
  char Separator() const override { return '/'; }

  bool ListFolder(const std::string& directory, std::vector<FileInfo>& entries) override {
    entries.clear();
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return false;
    const std::string prefix = WithTrailingSeparator(directory, '/');
    while (const dirent* each = readdir(dir)) {
      const std::string name = each->d_name;
      if (name == "." || name == "..") continue;
      FileInfo info;
      if (Describe(prefix + name, name, info)) entries.push_back(std::move(info));
    }
    closedir(dir);
    return true;
  }

  bool Lookup(const std::string& path, FileInfo& info) override {
    if (path.empty() || path == "/") return false;
    return Describe(path, LastName(path), info);
  }

  bool Exists(const std::string& path) override {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0;
  }

  std::string FullPath(const std::string& path) override {
    char resolved[PATH_MAX];
    if (path.empty() || realpath(path.c_str(), resolved) == nullptr) return {};
    return resolved;
  }

  std::vector<std::string> LogicalDrives() override { return {"/"}; }
  DriveType DriveTypeOf(const std::string& root) override {
    return Exists(root) ? DriveType::Fixed : DriveType::NoRootDir;
  }
  bool DriveLabel(const std::string& root, std::string& label) override {
    label.clear();
    return Exists(root);
  }

  bool FreeBytes(const std::string& path, uint64_t& bytes) override {
    struct statvfs fs {};
    if (statvfs(path.c_str(), &fs) != 0) return false;
    bytes = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
    return true;
  }

  SystemTime LocalTime() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Local(now.tv_sec, static_cast<uint16_t>(now.tv_nsec / 1000000));
  }

  SystemTime UtcTime() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Utc(now.tv_sec, static_cast<uint16_t>(now.tv_nsec / 1000000));
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace tarvo
