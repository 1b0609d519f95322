#include "app/progress_meter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tarvo {
namespace {

struct IncrementCase {
  int32_t width;
  int32_t steps;
  std::array<int32_t, 5> increment;
};

TEST(ProgressArithmetic, IncrementIsWidthOverStepsInFourDecimalDigits) {
  const IncrementCase cases[] = {
      {340, 1000, {0, 3, 4, 0, 0}},
      {340, 100, {3, 4, 0, 0, 0}},
      {340, 1, {340, 0, 0, 0, 0}},
      {340, 360000, {0, 0, 0, 0, 9}},  // 0.000944..., the rest dropped
      {340, 3, {113, 3, 3, 3, 3}},
      {0, 100, {0, 0, 0, 0, 0}},
  };
  for (const IncrementCase& c : cases) {
    ProgressArithmetic meter;
    meter.Begin(c.width, c.steps);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(meter.increment(i), c.increment[i]) << "width " << c.width << " N " << c.steps << " digit " << i;
    }
  }
}

struct RunCase {
  int32_t width;
  int32_t steps;
  int32_t stepsTaken;
  int32_t barRight;
  std::string percent;
};

TEST(ProgressArithmetic, BarAndPercentageAfterSteps) {
  const RunCase cases[] = {
      {340, 1000, 1, 0, ""},           // 0% is never drawn as a change
      {340, 1000, 3, 1, ""},           // the first carry reaches a whole pixel at step 3
      {340, 1000, 10, 3, "1"},
      {340, 1000, 1000, 340, "100"},
      {340, 100, 1, 0, "1"},           // the first step draws nothing
      {340, 100, 2, 3, "2"},
      {340, 100, 100, 337, "100"},     // one step behind
      {340, 100, 101, 340, "100"},
      {340, 1, 1, 0, "100"},
      {340, 1, 2, 340, "100"},         // a second step fills the bar
      {340, 1000, 5000, 340, "100"},   // beyond N: clamped, still 100
      {340, 100, 500, 340, "100"},
      {0, 100, 50, 0, "50"},           // no bar, the percentage still shown
      {0, 100, 100, 0, "100"},
      // Increments below 1/10000 pixel are dropped: 360000 x 0.0009 = 324.
      {340, 360000, 360000, 324, "100"},
  };
  for (const RunCase& c : cases) {
    ProgressArithmetic meter;
    meter.Begin(c.width, c.steps);
    for (int32_t i = 0; i < c.stepsTaken; ++i) meter.Step();
    EXPECT_EQ(meter.barRight(), c.barRight) << "width " << c.width << " N " << c.steps << " after " << c.stepsTaken;
    EXPECT_EQ(std::string(meter.percentText()), c.percent)
        << "width " << c.width << " N " << c.steps << " after " << c.stepsTaken;
  }
}

TEST(ProgressArithmetic, HundredStepsGrowThreeOrFourPixelsEach) {
  ProgressArithmetic meter;
  meter.Begin(340, 100);
  meter.Step();
  for (int i = 2; i <= 100; ++i) {
    const int32_t before = meter.barRight();
    meter.Step();
    const int32_t grown = meter.barRight() - before;
    EXPECT_TRUE(grown == 3 || grown == 4) << "step " << i << " grew " << grown;
  }
}

TEST(ProgressArithmetic, ThousandStepsGrowOnePixelAboutEveryThirdStep) {
  ProgressArithmetic meter;
  meter.Begin(340, 1000);
  int longestGap = 0;
  int gap = 0;
  for (int i = 1; i <= 1000; ++i) {
    const int32_t before = meter.barRight();
    meter.Step();
    const int32_t grown = meter.barRight() - before;
    ASSERT_LE(grown, 1) << "step " << i;
    gap = grown ? 0 : gap + 1;
    if (gap > longestGap) longestGap = gap;
  }
  EXPECT_LE(longestGap, 2);
}

// A recording steps once per sector; a step that changes nothing visible must
// not ask for a repaint, so a full disc costs a few hundred paints, not
// hundreds of thousands.
TEST(ProgressArithmetic, PaintIsNeededOnlyWhenBarOrPercentageChanges) {
  ProgressArithmetic meter;
  meter.Begin(340, 360000);
  int paints = 0;
  int32_t lastRight = 0;
  std::string lastText;
  for (int i = 0; i < 360000; ++i) {
    const ProgressArithmetic::StepResult r = meter.Step();
    const bool changed = meter.barRight() != lastRight || lastText != meter.percentText();
    ASSERT_EQ(r.NeedsPaint(), changed) << "step " << i + 1;
    lastRight = meter.barRight();
    lastText = meter.percentText();
    paints += r.NeedsPaint();
  }
  EXPECT_LE(paints, 340 + 100);
}

TEST(ProgressArithmetic, StepCountBelowOneNeitherDividesNorShowsPercentage) {
  ProgressArithmetic meter;
  meter.Begin(340, 0);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(meter.Step().NeedsPaint());
  EXPECT_EQ(meter.barRight(), 0);
  EXPECT_STREQ(meter.percentText(), "");
}

TEST(ProgressArithmetic, BeginStartsOver) {
  ProgressArithmetic meter;
  meter.Begin(340, 1);
  meter.Step();
  meter.Step();
  meter.Begin(340, 100);
  EXPECT_EQ(meter.barRight(), 0);
  EXPECT_STREQ(meter.percentText(), "");
  EXPECT_EQ(meter.shownPercent(), 0);
}

TEST(StatusLineText, KeepsAtMost255CharactersTerminated) {
  SetStatusLineText(std::string(300, 'C'));
  EXPECT_EQ(std::string(StatusLineText()), std::string(255, 'C'));
  SetStatusLineText("CD->MB   Total: 702   Free: 702   Used: 0");
  EXPECT_STREQ(StatusLineText(), "CD->MB   Total: 702   Free: 702   Used: 0");
}

}  // namespace
}  // namespace tarvo
