// Files of the run (source files, the scratch file, the image) through C
// streams, whose narrow names are code-page bytes on Windows as the list's.
#pragma once

#include <cstdio>
#include <string>

namespace tarvo {

class CFile {
 public:
  CFile() = default;
  CFile(const std::string& path, const char* mode);
  ~CFile() { Close(); }
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  bool Open(const std::string& path, const char* mode);
  bool IsOpen() const { return file_ != nullptr; }
  std::FILE* get() const { return file_; }
  // Returns false when a buffered write could not be completed.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
};

// A list's source path ("C:\dir\" followed by the name) as this platform
// opens it: unchanged on Windows, backslashes as slashes elsewhere.
std::string NativePath(std::string path);

bool ReadWholeFile(const std::string& path, std::string& bytes);
void DeleteFileAt(const std::string& path);

// printf-style formatting of the program's texts.
std::string FormatPrintf(const char* format, ...);

}  // namespace tarvo
