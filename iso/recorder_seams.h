// The seams the recorder talks through: the user (common/user_seam.h: message
// boxes, the status text), the progress meter, and the sink that receives the
// volume's sectors.
#pragma once

#include <cstdint>
#include <string>

#include "common/user_seam.h"

namespace tarvo {

class ProgressMeter {
 public:
  virtual ~ProgressMeter() = default;
  virtual void Begin(uint32_t steps) = 0;
  virtual void Step(uint32_t count) = 0;
  virtual void End() = 0;
};

// Receives the volume in strictly ascending, contiguous sector order.
class SectorSink {
 public:
  virtual ~SectorSink() = default;
  // Writes `count` 2048-byte sectors from `data` at `address` onwards;
  // returns 1 when they were written, 0 otherwise.
  virtual int WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) = 0;
};

}  // namespace tarvo
