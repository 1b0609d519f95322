// The progress meter of the long operations (erase, recording): a bar with a
// percentage in the main dialog's status line. The width of the control is
// spread over the steps in fixed point without floating point: whole pixels
// plus four decimal digits of fraction, each digit with its own counter, whose
// carries add the odd pixels. This unit holds the arithmetic; the shell paints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarvo {

// What the erase and the recorder see of the meter: start with a number of
// steps, advance one step, finish (on every way out of the operation).
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void Begin(int32_t steps) = 0;
  virtual void Step() = 0;
  virtual void End() = 0;
};

// The status line's text, shared by the meter (the percentage), the capacity
// gauge (a line beginning with "CD->MB") and the status line's painting,
// which paints only a text beginning with the letter C.
inline constexpr size_t kStatusLineTextSize = 256;
char* StatusLineText();
// Copies at most kStatusLineTextSize - 1 characters and terminates.
void SetStatusLineText(std::string_view text);

class ProgressArithmetic {
 public:
  // What one step changed; the shell repaints only when something did.
  struct StepResult {
    bool barMoved = false;
    bool percentChanged = false;
    bool NeedsPaint() const { return barMoved || percentChanged; }
  };

  // Starts over for a control `width` pixels wide and `steps` steps. A step
  // count below 1 leaves every increment 0 and never shows a percentage.
  void Begin(int32_t width, int32_t steps);
  StepResult Step();

  int32_t width() const { return width_; }
  int32_t barRight() const { return barRight_; }
  int32_t shownPercent() const { return shownPercent_; }
  // The percentage as decimal digits without a percent sign; empty until the
  // first percentage above 0.
  const char* percentText() const { return percentText_; }
  int32_t increment(int i) const { return increment_[i]; }

 private:
  int32_t width_ = 0;
  int32_t barRight_ = 0;
  int32_t whole_ = 0;
  int32_t digit_[5] = {};      // [1..4]: tenths .. ten-thousandths of a pixel
  int32_t increment_[5] = {};  // [0] whole pixels per step, [1..4] its fraction digits
  int32_t totalSteps_ = 0;
  int32_t stepNumber_ = 1;
  int32_t shownPercent_ = 0;
  char percentText_[12] = {};
};

}  // namespace tarvo
