// Bounds-checked sequential reading of untrusted bytes (list and scratch
// files): an overrun returns zero and marks the reader failed for good
// (sticky ok flag).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

class StreamReader {
 public:
  StreamReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  bool AtEnd() const { return at_ >= size_; }
  size_t position() const { return at_; }
  size_t remaining() const { return size_ - at_; }

  uint8_t U8() { return Take(1) ? data_[at_ - 1] : 0; }
  uint16_t U16() {
    if (!Take(2)) return 0;
    return static_cast<uint16_t>(data_[at_ - 2] | (data_[at_ - 1] << 8));
  }
  uint32_t U32() {
    if (!Take(4)) return 0;
    const uint8_t* p = data_ + at_ - 4;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  std::string Bytes(size_t n) {
    if (!Take(n)) return {};
    return std::string(reinterpret_cast<const char*>(data_ + at_ - n), n);
  }

 private:
  bool Take(size_t n) {
    if (!ok_ || n > size_ - at_) {
      ok_ = false;
      return false;
    }
    at_ += n;
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace tarvo
