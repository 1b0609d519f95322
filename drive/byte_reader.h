// Bounds-checked random access to bytes a drive returned. A read outside the
// data yields 0 and clears the sticky ok flag, so decoders never index past
// a short reply.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo {

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  uint8_t U8(size_t offset) {
    if (offset >= size_) {
      ok_ = false;
      return 0;
    }
    return data_[offset];
  }
  uint16_t Be16(size_t offset) { return static_cast<uint16_t>(U8(offset) << 8 | U8(offset + 1)); }
  uint32_t Be32(size_t offset) {
    return static_cast<uint32_t>(Be16(offset)) << 16 | Be16(offset + 2);
  }
  bool Bit(size_t offset, int bit) { return (U8(offset) >> bit) & 1; }
  bool ok() const { return ok_; }
  size_t size() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  bool ok_ = true;
};

}  // namespace tarvo
