// The capacity gauge: the disc's total, used and free bytes, where "used"
// is what the disc already holds plus what the compilation adds. It reads
// the disc when the main dialog sees a writable disc become ready, takes the
// charges of every Add and Remove, and gives the texts of the main dialog's
// status line and of the browser's status bar. All figures are 32-bit byte
// counts, held once for the whole program.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "browser/capacity_charges.h"

namespace tarvo {

// What one reading of the disc gave.
struct GaugeReading {
  uint32_t total = 0;
  uint32_t used = 0;
  uint32_t free = 0;
  bool operator==(const GaugeReading&) const = default;
};

// The browser keeps one used figure for the recording tab (page 0) and one
// for every other tab.
inline constexpr int kRecordingTabGroup = 0;
inline constexpr int kOtherTabGroup = 1;
inline int TabGroupOf(int page) { return page == 0 ? kRecordingTabGroup : kOtherTabGroup; }

class CapacityGauge final : public CapacityCharger {
 public:
  uint32_t total = 0;
  uint32_t used = 0;
  uint32_t free = 0;
  uint32_t discUsed = 0;  // used and free as of the last reading that changed
  uint32_t discFree = 0;
  GaugeReading lastReading;
  std::array<uint32_t, 2> keptUsed = {};  // by tab group

  // A disc reading (the read flag of RefreshGaugeText). The figures become
  // the disc's; a reading equal to the last one is the same disc, which
  // keeps discUsed and discFree at the used and free held before it.
  void ReadDisc(const GaugeReading& reading);

  void ChargeAdd(uint32_t amount) override;
  void ChargeRemove(const CompilationEntry& entry) override;
  void ResetToDisc() override;

  // The browser takes the used figure of its tab group when it opens and
  // keeps it when it closes.
  void BrowserOpened(int page) { used = keptUsed[TabGroupOf(page)]; }
  void BrowserClosed(int page) { keptUsed[TabGroupOf(page)] = used; }

  // Nothing was added since the disc was last read.
  bool AtDiscFigures() const { return used == discUsed && free == discFree; }
};

// The program's one gauge.
CapacityGauge& Gauge();

// Bytes shown as whole mebibytes.
inline uint32_t Mebibytes(uint32_t bytes) { return bytes >> 20; }

// The main dialog's line: "CD->MB   Total: 702   Free: 702   Used: 0", and
// on the recording tab, when the compilation changed the used figure, the
// difference in MiB: " : 3 New".
std::string GaugeLine(const CapacityGauge& gauge, int page);

// "%lu" grouped in threes from the right with a full stop: 1234 -> "1.234".
std::string GroupThousands(uint32_t value);

// The six parts of the browser's status bar: three raised labels, each
// followed by its figure in MiB.
inline constexpr const char* kStatusBarLabels[3] = {"Total size (MB)", "Used space (MB)", "Free space (MB)"};
std::array<std::string, 6> StatusBarTexts(const CapacityGauge& gauge);
// The right edges of the six parts for a client width: with B = width / 6,
// B, W-4B, W-3B, W-2B, W-B, W.
std::array<int, 6> StatusBarEdges(int width);

}  // namespace tarvo
