// What the main dialog shows after each disc check: which controls are
// enabled, whether Start may be pressed, and the disc status text (502); and
// the poll timer's cadence.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

inline constexpr char kDiscNotReadyText[] = ">>>  CD-R/W Disc NOT Ready  <<<";
inline constexpr char kDiscReadyText[] = ">>>  CD-R/W Disc Ready  <<<";
inline constexpr char kNoRecordingDeviceText[] = "CD-R/W Disc Ready but Device was not supported for recording";
inline constexpr char kNoErasingDeviceText[] = "CD-R/W Disc Ready but Device was not supported for erasing.";
inline constexpr char kNotRecordableText[] = "CD-R/W Disc Ready but it was not available for recording";

// Controls that need a disc: enabled exactly while one is ready. "CD
// Capabilities" (203) is not among them: it asks the drive, not the disc.
const std::vector<int>& DiscDependentControls();

struct DiscStatusInput {
  int discReady = 0;
  int writable = 0;
  int lastTrackNumber = 0;
  int page = 0;
  bool canWriteCdR = false;   // of the selected drive
  bool canWriteCdRw = false;
  bool startWasEnabled = false;  // control 305 before this update
};

enum class LabelEnabling { Untouched, Enable, Disable };

struct DiscStatusView {
  bool discControlsEnabled = false;
  int canStart = 0;
  std::string statusText;
  LabelEnabling label = LabelEnabling::Untouched;  // control 301
  bool refreshGauge = false;
  int gaugeReadFlag = 0;  // 1 when the disc has just become ready
  bool enableAddAndStart = false;  // controls 300 and 305
};

DiscStatusView DecideDiscStatus(const DiscStatusInput& in);

// One tick of the poll timer: true when the disc is to be checked now. A
// drive without a disc is checked every tick, one with a disc every fourth.
bool PollTickChecksDisc(uint8_t& pollSkip, int discReady);

}  // namespace tarvo
