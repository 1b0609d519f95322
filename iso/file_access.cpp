#include "iso/file_access.h"

#include <cstdarg>
#include <vector>

namespace tarvo {

CFile::CFile(const std::string& path, const char* mode) : file_(std::fopen(NativePath(path).c_str(), mode)) {}

bool CFile::Open(const std::string& path, const char* mode) {
  Close();
  file_ = std::fopen(NativePath(path).c_str(), mode);
  return file_ != nullptr;
}

bool CFile::Close() {
  if (file_ == nullptr) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

std::string NativePath(std::string path) {
#ifndef _WIN32
  for (char& c : path)
    if (c == '\\') c = '/';
#endif
  return path;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  CFile file(path, "rb");
  if (!file.IsOpen()) return false;
  bytes.clear();
  std::vector<char> chunk(1 << 16);
  size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) bytes.append(chunk.data(), n);
  return !std::ferror(file.get());
}

void DeleteFileAt(const std::string& path) { std::remove(NativePath(path).c_str()); }

std::string FormatPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

}  // namespace tarvo
