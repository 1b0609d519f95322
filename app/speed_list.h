// The texts of the main dialog's speed list (control 290): one item per
// multiple of 176 kB/s (1X) up to the drive's maximum write speed, fastest
// first, the middle one preselected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

inline constexpr uint32_t kSpeedUnitKBps = 176;  // 1X for data CDs

struct SpeedList {
  std::vector<std::string> items;
  int selected = -1;  // -1 when the list is empty
};

// The list filled at initialisation has two blanks before "Kb", the one
// refilled when another drive is chosen has three.
enum class SpeedListKind { Initial, DriveChanged };

SpeedList BuildSpeedList(uint32_t maxWriteSpeedKBps, SpeedListKind kind);

// The factor in X that item `selectedIndex` shows.
int SpeedFactorOfItem(uint32_t maxWriteSpeedKBps, int selectedIndex);

}  // namespace tarvo
