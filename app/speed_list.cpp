#include "app/speed_list.h"

#include <cstdio>

namespace tarvo {

SpeedList BuildSpeedList(uint32_t maxWriteSpeedKBps, SpeedListKind kind) {
  SpeedList list;
  const int n = int(maxWriteSpeedKBps / kSpeedUnitKBps);
  if (n < 1) return list;
  const char* format = kind == SpeedListKind::Initial ? "%02d X              [ %d  Kb / sec ]"
                                                      : "%02d X              [ %d   Kb / sec ]";
  for (int j = 0; j < n; ++j) {
    char text[64];
    std::snprintf(text, sizeof text, format, n - j, (n - j) * int(kSpeedUnitKBps));
    list.items.emplace_back(text);
  }
  list.selected = n / 2;
  return list;
}

int SpeedFactorOfItem(uint32_t maxWriteSpeedKBps, int selectedIndex) {
  return int(maxWriteSpeedKBps / kSpeedUnitKBps) - selectedIndex;
}

}  // namespace tarvo
