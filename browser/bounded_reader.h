// Reads little-endian fields from untrusted bytes. Reading past the end
// yields zeros and marks the reader failed for good (a sticky ok flag), so a
// caller checks once after a whole record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

class BoundedReader {
 public:
  BoundedReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  bool AtEnd() const { return position_ >= size_; }
  size_t position() const { return position_; }

  uint8_t U8() { return Take(1) ? data_[position_ - 1] : 0; }
  uint16_t U16() {
    if (!Take(2)) return 0;
    const uint8_t* p = data_ + position_ - 2;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
  }
  uint32_t U32() {
    if (!Take(4)) return 0;
    const uint8_t* p = data_ + position_ - 4;
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
  }
  // `n` bytes as a string; empty (and failed) when fewer remain.
  std::string Text(size_t n) {
    if (!Take(n)) return {};
    return std::string(reinterpret_cast<const char*>(data_ + position_ - n), n);
  }

 private:
  bool Take(size_t n) {
    if (!ok_ || n > size_ - position_) {
      ok_ = false;
      return false;
    }
    position_ += n;
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace tarvo
