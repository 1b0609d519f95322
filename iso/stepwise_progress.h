// The recorder's progress meter over a meter that takes one step at a time
// (Begin(int32_t), Step(), End(), as the main dialog's control 501 offers):
// a step of n sectors becomes n single steps, so each sector is one step.
#pragma once

#include <cstdint>
#include <algorithm>
#include <limits>

#include "iso/recorder_seams.h"

namespace tarvo {

template <class SingleStepMeter>
class StepwiseProgress : public ProgressMeter {
 public:
  explicit StepwiseProgress(SingleStepMeter& meter) : meter_(meter) {}
  void Begin(uint32_t steps) override {
    meter_.Begin(static_cast<int32_t>(std::min<uint32_t>(steps, std::numeric_limits<int32_t>::max())));
  }
  void Step(uint32_t count) override {
    for (uint32_t i = 0; i < count; ++i) meter_.Step();
  }
  void End() override { meter_.End(); }

 private:
  SingleStepMeter& meter_;
};

}  // namespace tarvo
