#include "app/start_checks.h"

#include "app/page_layout.h"
#include "app/speed_list.h"

namespace tarvo {
namespace {

StartVerdict Refuse(const char* message, int focusId) {
  StartVerdict v;
  v.message = message;
  v.focusId = focusId;
  return v;
}

}  // namespace

bool VolumeLabelFits(std::string_view label) { return label.size() <= size_t(kMaxVolumeLabel); }

bool LeavesOneMebibyteFree(uint32_t used, uint32_t total) { return uint64_t(used) + kOneMebibyte < uint64_t(total); }

StartVerdict CheckStart(const StartRequest& r) {
  if (r.page == kPageErase) {
    if (r.speedIndex < 0) return Refuse(kNoErasingSpeedText, 290);
  } else {
    if (!VolumeLabelFits(r.label)) return Refuse(kLabelTooLongText, 301);
    if (r.page == kPageIsoFile) {
      if (r.imageName.empty()) return Refuse(kNoImageNameText, 306);
    } else {
      if (r.speedIndex < 0) return Refuse(kNoRecordingSpeedText, 290);
      if (!LeavesOneMebibyteFree(r.used, r.total)) return Refuse(kTooLittleFreeText, 290);
    }
  }
  StartVerdict v;
  v.ok = true;
  if (r.page != kPageIsoFile) v.speedFactor = SpeedFactorOfItem(r.maxWriteSpeedKBps, r.speedIndex);
  return v;
}

}  // namespace tarvo
