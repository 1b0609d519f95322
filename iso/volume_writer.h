// The write address W of a run and its progress steps: a disc steps once per
// sector, an image file once per structure and once per data sector.
#pragma once

#include <cstdint>

#include "iso/recorder_seams.h"

namespace tarvo {

enum class WriteUnit { SystemArea, Structure, Data };

class VolumeWriter {
 public:
  VolumeWriter(SectorSink& sink, ProgressMeter& progress, bool stepPerSector, uint32_t start)
      : sink_(sink), progress_(progress), stepPerSector_(stepPerSector), address_(start) {}

  // Writes `count` sectors at W; W grows by `count`. False when the sink failed.
  bool Put(const uint8_t* data, uint32_t count, WriteUnit unit) {
    if (count == 0) return true;
    if (sink_.WriteSectors(address_, data, count) != 1) return false;
    address_ += count;
    uint32_t steps = count;
    if (!stepPerSector_ && unit != WriteUnit::Data) steps = unit == WriteUnit::Structure ? 1 : 0;
    if (steps) progress_.Step(steps);
    return true;
  }
  uint32_t address() const { return address_; }

 private:
  SectorSink& sink_;
  ProgressMeter& progress_;
  bool stepPerSector_;
  uint32_t address_;
};

}  // namespace tarvo
