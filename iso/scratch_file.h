// The scratch file isoFileList.dat: one ScratchRecord per file whose data the
// volume carries, in extent order (32-bit path length, 32-bit size, path).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "iso/file_access.h"

namespace tarvo {

struct ScratchRecord {
  std::string path;  // directory path followed by the name
  uint32_t size = 0;
};

class ScratchWriter {
 public:
  explicit ScratchWriter(const std::string& path) : file_(path, "wb") {}
  bool IsOpen() const { return file_.IsOpen(); }
  void Append(const std::string& path, uint32_t size);
  uint32_t count() const { return count_; }
  bool Close() { return file_.Close() && ok_; }

 private:
  CFile file_;
  uint32_t count_ = 0;
  bool ok_ = true;
};

// Reads at most `expected` records and never past the end of the file; false
// when the file cannot be opened.
bool ReadScratchFile(const std::string& path, uint32_t expected, std::vector<ScratchRecord>& records);

}  // namespace tarvo
