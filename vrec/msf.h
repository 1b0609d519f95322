// Conversions between logical block addresses and CD minute/second/frame
// times (MMC-3 Table 14: LBA = (M*60 + S)*75 + F - 150; times above 89
// minutes stand for negative addresses, the lead-in area).
#pragma once

#include <cstdint>

namespace tarvo::vrec {

struct Msf {
  uint8_t minute = 0;
  uint8_t second = 0;
  uint8_t frame = 0;
};

inline constexpr int32_t kFramesPerSecond = 75;
inline constexpr int32_t kFramesPerMinute = 60 * kFramesPerSecond;

inline Msf LbaToMsf(int32_t lba) {
  int32_t frames = lba >= -150 ? lba + 150 : lba + 450150;
  Msf msf;
  msf.minute = static_cast<uint8_t>(frames / kFramesPerMinute);
  msf.second = static_cast<uint8_t>((frames / kFramesPerSecond) % 60);
  msf.frame = static_cast<uint8_t>(frames % kFramesPerSecond);
  return msf;
}

inline int32_t MsfToLba(int minute, int second, int frame) {
  int32_t frames = (minute * 60 + second) * kFramesPerSecond + frame;
  return minute <= 89 ? frames - 150 : frames - 450150;
}

}  // namespace tarvo::vrec
