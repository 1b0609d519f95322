#include "app/start_checks.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

constexpr uint32_t kBlankCdR = 736970752;  // 359,849 blocks

TEST(StartChecks, VolumeLabelOfEightIsAcceptedAndNineRefused) {
  EXPECT_TRUE(VolumeLabelFits(""));
  EXPECT_TRUE(VolumeLabelFits("ABCDEFGH"));
  EXPECT_FALSE(VolumeLabelFits("ABCDEFGHI"));
}

TEST(StartChecks, OneMebibyteMustStayFree) {
  EXPECT_FALSE(LeavesOneMebibyteFree(kBlankCdR - kOneMebibyte, kBlankCdR));
  EXPECT_TRUE(LeavesOneMebibyteFree(kBlankCdR - kOneMebibyte - 1, kBlankCdR));
  EXPECT_FALSE(LeavesOneMebibyteFree(0, 0));  // no disc read yet
  // Near 4 GiB the sum must not wrap round to a small number.
  EXPECT_FALSE(LeavesOneMebibyteFree(0xFFFFFFF0u, 0xFFFFFFFFu));
}

TEST(StartChecks, EachPageRefusesInOrderWithItsMessageAndFocus) {
  struct Case {
    const char* what;
    StartRequest request;
    const char* message;
    int focus;
  };
  const uint32_t roomy = kBlankCdR - kOneMebibyte - 1;
  const Case cases[] = {
      {"long label on page 0", {0, "ABCDEFGHI", "", -1, 1408, 0, kBlankCdR}, kLabelTooLongText, 301},
      {"long label before image name", {2, "ABCDEFGHI", "", -1, 0, 0, 0}, kLabelTooLongText, 301},
      {"no image name", {2, "DISC", "", -1, 0, 0, 0}, kNoImageNameText, 306},
      {"no recording speed", {0, "DISC", "", -1, 0, 0, kBlankCdR}, kNoRecordingSpeedText, 290},
      {"too full", {0, "DISC", "", 4, 1408, kBlankCdR - kOneMebibyte, kBlankCdR}, kTooLittleFreeText, 290},
      {"no erasing speed", {1, "ABCDEFGHIJ", "", -1, 0, 0, 0}, kNoErasingSpeedText, 290},
      {"recording", {0, "ABCDEFGH", "", 4, 1408, roomy, kBlankCdR}, "", 0},
      {"image file needs no speed or space", {2, "", "C:\\a.iso", -1, 0, 0, 0}, "", 0},
      {"erase ignores the label", {1, "ABCDEFGHI", "", 0, 1408, 0, 0}, "", 0},
  };
  for (const Case& c : cases) {
    const StartVerdict v = CheckStart(c.request);
    EXPECT_EQ(v.ok, c.message[0] == '\0') << c.what;
    EXPECT_EQ(v.message, c.message) << c.what;
    EXPECT_EQ(v.focusId, c.focus) << c.what;
  }
}

TEST(StartChecks, SpeedFactorIsWhatTheSelectedItemShows) {
  EXPECT_EQ(CheckStart({0, "", "", 4, 1408, 0, kBlankCdR}).speedFactor, 4);
  EXPECT_EQ(CheckStart({1, "", "", 0, 1408, 0, 0}).speedFactor, 8);
  EXPECT_EQ(CheckStart({1, "", "", 7, 1408, 0, 0}).speedFactor, 1);
}

}  // namespace
}  // namespace tarvo
