// Unbuffered whole-file access for the bulk of a run (source file data and
// the image), straight to the platform's calls: the run does its own large
// buffering, and a C stream would only copy again (or, in some runtimes,
// split large reads into its buffer's size).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

class RawFile {
 public:
  enum class Mode { Read, Create };

  RawFile() = default;
  ~RawFile() { Close(); }
  RawFile(const RawFile&) = delete;
  RawFile& operator=(const RawFile&) = delete;

  // `path` in the list's form (code-page bytes; backslashes on Windows).
  bool Open(const std::string& path, Mode mode);
  bool IsOpen() const;
  // Reads up to n bytes, looping over short reads; returns the bytes read
  // (fewer only at the end of the file or on an error).
  size_t Read(void* buffer, size_t n);
  // Writes all n bytes; false on any failure.
  bool Write(const void* buffer, size_t n);
  // False when the platform reports a failure on closing.
  bool Close();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace tarvo
