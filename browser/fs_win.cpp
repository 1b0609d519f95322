// The file-system seam on Win32, with the ANSI functions. Directory reparse
// points (junctions, directory links) are left out of listings: a junction
// back to an ancestor would send a walk round in circles.
#include <windows.h>

#include "browser/file_system.h"

namespace tarvo {

namespace {

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

SystemTime FromSystemTime(const SYSTEMTIME& s) {
  return SystemTime{s.wYear, s.wMonth, s.wDayOfWeek, s.wDay, s.wHour, s.wMinute, s.wSecond, s.wMilliseconds};
}

bool Listed(const WIN32_FIND_DATAA& data) {
  const std::string name = data.cFileName;
  if (name == "." || name == "..") return false;
  const DWORD a = data.dwFileAttributes;
  return !((a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_REPARSE_POINT));
}

FileInfo Describe(const WIN32_FIND_DATAA& data) {
  FileInfo info;
  info.name = data.cFileName;
  info.attributes = data.dwFileAttributes;
  info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  FILETIME local{};
  SYSTEMTIME s{};
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &s)) {
    info.modified = FromSystemTime(s);
    info.modified.second &= ~1u;  // directory listings of the FAT era: 2-second steps
    info.modified.milliseconds = 0;
  }
  if (FileTimeToSystemTime(&data.ftCreationTime, &s)) info.createdUtc = FromSystemTime(s);
  return info;
}

class WinFileSystem final : public FileSystem {
 public:
  char Separator() const override { return '\\'; }

  bool ListFolder(const std::string& directory, std::vector<FileInfo>& entries) override {
    entries.clear();
    WIN32_FIND_DATAA data{};
    const std::string pattern = WithTrailingSeparator(directory, '\\') + "*.*";
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find.Valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
      if (Listed(data)) entries.push_back(Describe(data));
    } while (FindNextFileA(find.Get(), &data));
    return true;
  }

  bool Lookup(const std::string& path, FileInfo& info) override {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(path.c_str(), &data));
    if (!find.Valid()) return false;
    info = Describe(data);
    return true;
  }

  bool Exists(const std::string& path) override {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string FullPath(const std::string& path) override {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) return {};
    std::string full(buffer, n);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
  }

  std::vector<std::string> LogicalDrives() override {
    char buffer[4 * 26 + 2] = {};
    std::vector<std::string> roots;
    const DWORD n = GetLogicalDriveStringsA(sizeof buffer, buffer);
    if (n == 0 || n >= sizeof buffer) return roots;
    for (const char* p = buffer; *p != '\0'; p += lstrlenA(p) + 1) roots.emplace_back(p);
    return roots;
  }

  DriveType DriveTypeOf(const std::string& root) override {
    const UINT type = GetDriveTypeA(root.c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
  }

  bool DriveLabel(const std::string& root, std::string& label) override {
    char name[MAX_PATH + 1] = {};
    if (!GetVolumeInformationA(root.c_str(), name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0))
      return false;
    label = name;
    return true;
  }

  bool FreeBytes(const std::string& path, uint64_t& bytes) override {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) return false;
    bytes = available.QuadPart;
    return true;
  }

  SystemTime LocalTime() override {
    SYSTEMTIME s{};
    GetLocalTime(&s);
    return FromSystemTime(s);
  }

  SystemTime UtcTime() override {
    SYSTEMTIME s{};
    GetSystemTime(&s);
    return FromSystemTime(s);
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<WinFileSystem>(); }

}  // namespace tarvo
