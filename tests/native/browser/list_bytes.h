// Builds list-file bytes field by field, independently of the encoder, so
// that tests state the expected format themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::testing {

struct ListBytes {
  std::vector<uint8_t> bytes;

  ListBytes& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  ListBytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  ListBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  ListBytes& Raw(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  ListBytes& Header(uint32_t levelCount, uint32_t directoryCapacity) {
    return Raw("MORVELINE_FILE_ISO_1.00").U32(levelCount).U32(directoryCapacity);
  }
  // One record; the date is 2007-05-(dow 2)-15 10:20:30.000 unless given.
  ListBytes& Record(uint32_t level, const std::string& name, const std::string& path, uint8_t kind, uint32_t size,
                    uint32_t attributes, uint16_t year = 2007) {
    U32(level).U16(static_cast<uint16_t>(name.size())).Raw(name);
    U16(static_cast<uint16_t>(path.size())).Raw(path).U8(kind);
    for (uint16_t field : {year, uint16_t{5}, uint16_t{2}, uint16_t{15}, uint16_t{10}, uint16_t{20}, uint16_t{30},
                           uint16_t{0}})
      U16(field);
    return U32(size).U32(attributes);
  }
};

}  // namespace tarvo::testing
