// The checks the start button (305) makes before it records, writes an image
// file or erases, as pure functions of what the dialog holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvo {

inline constexpr char kLabelTooLongText[] = "CD Volume label name can not be more then 8 charachters !";
inline constexpr char kNoImageNameText[] = "You must type ISO file name where all data will be saved !";
inline constexpr char kNoRecordingSpeedText[] = "You must select recording speed";
inline constexpr char kNoErasingSpeedText[] = "You must select erasing speed";
inline constexpr char kTooLittleFreeText[] =
    "At least 1MB or more of Free space should remain on the CD/R-W, or error would occure while recording.";
inline constexpr char kEraseQuestionText[] = "Are you sure you want to erase all data on the CDRW";
inline constexpr char kRecordQuestionText[] =
    "Before start be sure that WriteAble CD was inserted in the CD-ROM drive.\nDo you want to start recording Now ?";

inline constexpr uint32_t kOneMebibyte = 1048576;
inline constexpr int kMaxVolumeLabel = 8;

// An ISO-9660 volume label of the dialog holds at most 8 characters.
bool VolumeLabelFits(std::string_view label);

// Recording needs at least 1 MiB left free on the disc: used + 1 MiB must stay
// below the total. Computed in 64 bits, so a used figure near 4 GiB cannot
// wrap round to a small sum.
bool LeavesOneMebibyteFree(uint32_t used, uint32_t total);

struct StartRequest {
  int page = 0;             // 0 recording, 1 erase, 2 ISO file
  std::string label;        // control 301 as read (at most 9 characters)
  std::string imageName;    // control 306
  int speedIndex = -1;      // selection of the speed list, -1 for none
  uint32_t maxWriteSpeedKBps = 0;
  uint32_t used = 0;        // the capacity gauge's figures
  uint32_t total = 0;
};

struct StartVerdict {
  bool ok = false;
  std::string message;   // shown with the stop icon when not ok
  int focusId = 0;       // the control that gets the focus when not ok
  int speedFactor = 0;   // in X, on the recording and erase pages
};

// The checks after the question (pages 0 and 1 ask first), in order.
StartVerdict CheckStart(const StartRequest& request);

}  // namespace tarvo
