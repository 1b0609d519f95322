#include "app/speed_list.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(SpeedList, EightTimesListsFastestFirstAndSelectsFactorFour) {
  const SpeedList list = BuildSpeedList(1408, SpeedListKind::Initial);
  ASSERT_EQ(list.items.size(), 8u);
  EXPECT_EQ(list.items.front(), "08 X              [ 1408  Kb / sec ]");
  EXPECT_EQ(list.items[1], "07 X              [ 1232  Kb / sec ]");
  EXPECT_EQ(list.items.back(), "01 X              [ 176  Kb / sec ]");
  EXPECT_EQ(list.selected, 4);
  EXPECT_EQ(SpeedFactorOfItem(1408, list.selected), 4);
}

TEST(SpeedList, AfterADriveChangeTheTextsHaveThreeBlanksBeforeKb) {
  const SpeedList list = BuildSpeedList(1408, SpeedListKind::DriveChanged);
  ASSERT_EQ(list.items.size(), 8u);
  EXPECT_EQ(list.items.front(), "08 X              [ 1408   Kb / sec ]");
}

TEST(SpeedList, SizesAndSelection) {
  struct Case {
    uint32_t maxKBps;
    size_t count;
    int selected;
    const char* first;
  };
  const Case cases[] = {
      {0, 0, -1, nullptr},
      {175, 0, -1, nullptr},  // below 1X: no speed to offer
      {176, 1, 0, "01 X              [ 176  Kb / sec ]"},
      {351, 1, 0, "01 X              [ 176  Kb / sec ]"},  // rounded down
      {7040, 40, 20, "40 X              [ 7040  Kb / sec ]"},
      {65535, 372, 186, "372 X              [ 65472  Kb / sec ]"},
  };
  for (const Case& c : cases) {
    const SpeedList list = BuildSpeedList(c.maxKBps, SpeedListKind::Initial);
    EXPECT_EQ(list.items.size(), c.count) << c.maxKBps;
    EXPECT_EQ(list.selected, c.selected) << c.maxKBps;
    if (c.first) {
      EXPECT_EQ(list.items.front(), c.first) << c.maxKBps;
    }
  }
}

}  // namespace
}  // namespace tarvo
