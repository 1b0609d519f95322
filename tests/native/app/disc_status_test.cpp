#include "app/disc_status.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

struct Case {
  const char* what;
  DiscStatusInput in;
  int canStart;
  const char* text;
  bool addAndStart;
  bool gauge;
};

TEST(DiscStatus, TextAndStartFollowDiscDriveAndPage) {
  //  discReady, writable, lastTrack, page, canWriteCdR, canWriteCdRw, startWasEnabled
  const Case cases[] = {
      {"no disc, page 0", {0, 0, 0, 0, true, true, false}, 0, kDiscNotReadyText, false, false},
      {"no disc, page 2 still starts", {0, 0, 0, 2, true, true, false}, 0, kDiscNotReadyText, true, false},
      {"blank CD-R", {1, 1, 1, 0, true, true, false}, 1, kDiscReadyText, true, true},
      {"finalised disc", {1, 0, 1, 0, true, true, false}, 0, kNotRecordableText, false, false},
      {"reader only, page 0", {1, 1, 1, 0, false, false, false}, 0, kNoRecordingDeviceText, false, false},
      {"CD-R writer, erase page", {1, 1, 1, 1, true, false, false}, 0, kNoErasingDeviceText, false, false},
      {"finalised CD-RW, erase page", {1, 0, 1, 1, true, true, false}, 1, kDiscReadyText, true, true},
      {"finalised disc, ISO page", {1, 0, 1, 2, false, false, false}, 1, kDiscReadyText, true, true},
      {"finalised disc, information page", {1, 0, 1, 3, true, true, false}, 0, kDiscReadyText, false, true},
  };
  for (const Case& c : cases) {
    const DiscStatusView v = DecideDiscStatus(c.in);
    EXPECT_EQ(v.canStart, c.canStart) << c.what;
    EXPECT_EQ(v.statusText, c.text) << c.what;
    EXPECT_EQ(v.enableAddAndStart, c.addAndStart) << c.what;
    EXPECT_EQ(v.refreshGauge, c.gauge) << c.what;
    EXPECT_EQ(v.discControlsEnabled, c.in.discReady == 1) << c.what;
  }
}

TEST(DiscStatus, GaugeReadsTheDiscOnlyWhenStartWasDisabled) {
  DiscStatusInput in{1, 1, 1, 0, true, true, false};
  EXPECT_EQ(DecideDiscStatus(in).gaugeReadFlag, 1);
  in.startWasEnabled = true;
  EXPECT_EQ(DecideDiscStatus(in).gaugeReadFlag, 0);
}

TEST(DiscStatus, LabelIsEditableOnlyOnADiscWithAtMostOneTrack) {
  EXPECT_EQ(DecideDiscStatus({0, 0, 0, 0, true, true, false}).label, LabelEnabling::Untouched);
  EXPECT_EQ(DecideDiscStatus({1, 1, 1, 0, true, true, false}).label, LabelEnabling::Enable);
  EXPECT_EQ(DecideDiscStatus({1, 1, 2, 0, true, true, false}).label, LabelEnabling::Disable);
}

TEST(PollCadence, EveryTickWithoutADiscEveryFourthWithOne) {
  uint8_t skip = 0;
  std::string ticks;
  for (int i = 0; i < 3; ++i) ticks += PollTickChecksDisc(skip, 0) ? 'C' : '.';
  for (int i = 0; i < 9; ++i) ticks += PollTickChecksDisc(skip, 1) ? 'C' : '.';
  EXPECT_EQ(ticks, "CCC...C...C.");
  ticks.clear();
  EXPECT_TRUE(PollTickChecksDisc(skip, 0));  // a disc gone is checked at once
  EXPECT_EQ(skip, 0);
}

}  // namespace
}  // namespace tarvo
