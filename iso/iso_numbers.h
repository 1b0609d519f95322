// Sector arithmetic and the byte orders of ECMA-119 7.2 and 7.3.
#pragma once

#include <cstdint>

namespace tarvo {

inline constexpr uint32_t kSectorSize = 2048;

constexpr uint32_t SwapBytes32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
constexpr uint16_t SwapBytes16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }

// Whole sectors that hold n bytes, rounded up; 0 for 0.
constexpr uint32_t SectorsFor(uint64_t n) { return static_cast<uint32_t>((n + kSectorSize - 1) / kSectorSize); }
constexpr uint32_t SectorOffset(uint64_t n) { return static_cast<uint32_t>(n % kSectorSize); }

// ECMA-119 7.2.1 / 7.3.1 little-endian, 7.2.2 / 7.3.2 big-endian, 7.2.3 / 7.3.3 both.
inline void PutLsb16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void PutMsb16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void PutLsb32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}
inline void PutMsb32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}
inline void PutBoth16(uint8_t* p, uint16_t v) { PutLsb16(p, v); PutMsb16(p + 2, v); }
inline void PutBoth32(uint8_t* p, uint32_t v) { PutLsb32(p, v); PutMsb32(p + 4, v); }

inline uint16_t GetLsb16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint16_t GetMsb16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t GetLsb32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t GetMsb32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

}  // namespace tarvo
