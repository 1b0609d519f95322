#include "app/progress_meter.h"

#include <cstdio>
#include <cstring>

namespace tarvo {

char* StatusLineText() {
  static char text[kStatusLineTextSize] = {};
  return text;
}

void SetStatusLineText(std::string_view text) {
  const size_t n = text.size() < kStatusLineTextSize - 1 ? text.size() : kStatusLineTextSize - 1;
  std::memcpy(StatusLineText(), text.data(), n);
  StatusLineText()[n] = '\0';
}

void ProgressArithmetic::Begin(int32_t width, int32_t steps) {
  *this = ProgressArithmetic();
  width_ = width > 0 ? width : 0;
  totalSteps_ = steps;
  if (steps < 1) return;
  // W / N as whole pixels and four decimal digits; the rest is dropped.
  int64_t remainder = width_;
  increment_[0] = int32_t(remainder / steps);
  remainder %= steps;
  for (int i = 1; i <= 4; ++i) {
    remainder *= 10;
    increment_[i] = int32_t(remainder / steps);
    remainder %= steps;
  }
}

ProgressArithmetic::StepResult ProgressArithmetic::Step() {
  StepResult result;
  const int32_t before = barRight_;

  for (int i = 4; i >= 1; --i) {
    digit_[i] += increment_[i];
    if (digit_[i] >= 10) {
      digit_[i] -= 10;
      if (i > 1) {
        ++digit_[i - 1];
      } else {
        ++whole_;
      }
    }
  }

  if (increment_[0] == 0) {
    // Fewer pixels than steps: at most one carried pixel per step.
    if (whole_ > 0) {
      if (barRight_ < width_) ++barRight_;
      --whole_;
    }
  } else {
    // The whole pixels of a step are drawn at the following step, together
    // with the carries that arrived in between.
    while (whole_ != 0) {
      if (barRight_ >= width_) {
        barRight_ = width_;
        whole_ = 0;
        break;
      }
      ++barRight_;
      --whole_;
    }
    whole_ = increment_[0];
  }
  result.barMoved = barRight_ != before;

  if (stepNumber_ <= totalSteps_) {
    const int32_t percent = int32_t(int64_t(stepNumber_) * 100 / totalSteps_);
    if (percent != shownPercent_) {
      shownPercent_ = percent;
      std::snprintf(percentText_, sizeof percentText_, "%d", int(percent));
      result.percentChanged = true;
    }
    ++stepNumber_;
  }
  return result;
}

}  // namespace tarvo
