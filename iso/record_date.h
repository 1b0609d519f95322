// The date of a compilation entry as the list file stores it: the eight
// 16-bit fields of a Win32 SYSTEMTIME, kept portable.
#pragma once

#include <cstdint>

namespace tarvo {

struct RecordDate {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// The current time in UTC (the descriptors' creation time).
RecordDate CurrentUtcTime();

}  // namespace tarvo
