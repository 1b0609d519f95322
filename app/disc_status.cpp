#include "app/disc_status.h"

#include "app/page_layout.h"

namespace tarvo {

const std::vector<int>& DiscDependentControls() {
  static const std::vector<int> ids = {201, 202, 205, 206, 207, 208, 209, 210, 212,
                                       214, 215, 290, 307, 308, 400, 401, 402, 404};
  return ids;
}

DiscStatusView DecideDiscStatus(const DiscStatusInput& in) {
  DiscStatusView v;
  v.discControlsEnabled = in.discReady == 1;
  if (in.discReady != 1) {
    v.canStart = 0;
    v.statusText = kDiscNotReadyText;
  } else {
    v.label = in.lastTrackNumber < 2 ? LabelEnabling::Enable : LabelEnabling::Disable;
    if (in.page == kPageIsoFile) {
      v.canStart = 1;
    } else if (in.page == kPageErase) {
      // A finalised CD-RW has no writable address, yet erasing it is the
      // point of this page; the erase itself refuses a disc that is not
      // rewritable.
      v.canStart = in.canWriteCdRw ? 1 : 0;
    } else {
      v.canStart = in.writable == 1 && in.canWriteCdR ? 1 : 0;
    }
    if (!in.canWriteCdR && in.page == kPageRecording) {
      v.statusText = kNoRecordingDeviceText;
    } else if (!in.canWriteCdRw && in.page == kPageErase) {
      v.statusText = kNoErasingDeviceText;
    } else if (in.writable == 1 || in.page != kPageRecording) {
      v.statusText = kDiscReadyText;
      v.refreshGauge = true;
      v.gaugeReadFlag = in.startWasEnabled ? 0 : 1;
    } else {
      v.statusText = kNotRecordableText;
    }
  }
  v.enableAddAndStart = in.page == kPageIsoFile ? true : v.canStart != 0;
  return v;
}

bool PollTickChecksDisc(uint8_t& pollSkip, int discReady) {
  if (discReady == 0 || pollSkip >= 3) {
    pollSkip = 0;
    return true;
  }
  ++pollSkip;
  return false;
}

}  // namespace tarvo
