#include "iso/raw_file.h"

#include <windows.h>

namespace tarvo {

bool RawFile::Open(const std::string& path, Mode mode) {
  Close();
  HANDLE h = mode == Mode::Read
                 ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                 : CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  handle_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
  return handle_ != nullptr;
}

bool RawFile::IsOpen() const { return handle_ != nullptr; }

size_t RawFile::Read(void* buffer, size_t n) {
  size_t got = 0;
  while (got < n) {
    DWORD chunk = static_cast<DWORD>(n - got > 0x40000000 ? 0x40000000 : n - got), r = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), static_cast<char*>(buffer) + got, chunk, &r, nullptr) || r == 0) break;
    got += r;
  }
  return got;
}

bool RawFile::Write(const void* buffer, size_t n) {
  size_t done = 0;
  while (done < n) {
    DWORD chunk = static_cast<DWORD>(n - done > 0x40000000 ? 0x40000000 : n - done), w = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), static_cast<const char*>(buffer) + done, chunk, &w, nullptr) || w == 0)
      return false;
    done += w;
  }
  return true;
}

bool RawFile::Close() {
  if (handle_ == nullptr) return true;
  const bool ok = CloseHandle(static_cast<HANDLE>(handle_)) != 0;
  handle_ = nullptr;
  return ok;
}

}  // namespace tarvo
