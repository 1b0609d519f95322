#include "browser/capacity_gauge.h"

#include <cstdio>

namespace tarvo {

namespace {

// The figures are 32-bit; a sum past 4 GiB stays at the top instead of
// wrapping round to a small used figure that would let a recording start.
uint32_t AddSaturated(uint32_t a, uint64_t b) {
  const uint64_t sum = uint64_t{a} + b;
  return sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

uint32_t SubtractClamped(uint32_t a, uint64_t b) { return b > a ? 0 : static_cast<uint32_t>(a - b); }

}  // namespace

CapacityGauge& Gauge() {
  static CapacityGauge gauge;
  return gauge;
}

void CapacityGauge::ReadDisc(const GaugeReading& reading) {
  const uint32_t usedBefore = used;
  const uint32_t freeBefore = free;
  total = reading.total;
  used = reading.used;
  free = reading.free;
  keptUsed[kRecordingTabGroup] = used;
  if (reading == lastReading) {
    discUsed = usedBefore;
    discFree = freeBefore;
    return;
  }
  lastReading = reading;
  discUsed = used;
  discFree = free;
}

void CapacityGauge::ChargeAdd(uint32_t amount) {
  used = AddSaturated(used, amount);
  free = SubtractClamped(free, amount);
}

void CapacityGauge::ChargeRemove(const CompilationEntry& entry) {
  const uint64_t given = uint64_t{entry.size} + (entry.sourcePath.empty() ? 0u : 1u);
  used = SubtractClamped(used, given);
  free = AddSaturated(free, given);
  if (entry.IsDirectory()) {
    used = SubtractClamped(used, 2048);
    free = AddSaturated(free, 2048);
  }
}

void CapacityGauge::ResetToDisc() {
  used = discUsed;
  free = discFree;
}

std::string GaugeLine(const CapacityGauge& gauge, int page) {
  char text[256];
  std::snprintf(text, sizeof text, "CD->MB   Total: %lu   Free: %lu   Used: %lu",
                static_cast<unsigned long>(Mebibytes(gauge.total)), static_cast<unsigned long>(Mebibytes(gauge.free)),
                static_cast<unsigned long>(Mebibytes(gauge.used)));
  std::string line = text;
  if (page == 0 && gauge.discUsed != gauge.used) {
    const uint32_t difference = gauge.used > gauge.discUsed ? gauge.used - gauge.discUsed : gauge.discUsed - gauge.used;
    std::snprintf(text, sizeof text, " : %lu", static_cast<unsigned long>(Mebibytes(difference)));
    line += text;
    line += " New";
  }
  return line;
}

std::string GroupThousands(uint32_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
    grouped += digits[i];
  }
  return grouped;
}

std::array<std::string, 6> StatusBarTexts(const CapacityGauge& gauge) {
  return {kStatusBarLabels[0], GroupThousands(Mebibytes(gauge.total)),
          kStatusBarLabels[1], GroupThousands(Mebibytes(gauge.used)),
          kStatusBarLabels[2], GroupThousands(Mebibytes(gauge.free))};
}

std::array<int, 6> StatusBarEdges(int width) {
  const int b = width / 6;
  return {b, width - 4 * b, width - 3 * b, width - 2 * b, width - b, width};
}

}  // namespace tarvo
