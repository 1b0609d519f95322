// A calendar time as Win32's SYSTEMTIME lays it out: eight 16-bit fields.
// List files store it byte for byte and directory records take their
// recording date from it.
#pragma once

#include <cstdint>

namespace tarvo {

struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;

  bool operator==(const SystemTime&) const = default;
};

}  // namespace tarvo
