#include "iso/record_date.h"

#include <chrono>

namespace tarvo {

RecordDate CurrentUtcTime() {
  using namespace std::chrono;
  const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  int64_t days = ms / 86400000;
  const int64_t msOfDay = ms % 86400000;
  RecordDate d;
  d.dayOfWeek = static_cast<uint16_t>((days + 4) % 7);  // 1 January 1970 was a Thursday
  // Civil date from a day count (proleptic Gregorian calendar).
  days += 719468;
  const int64_t era = days / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  d.year = static_cast<uint16_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  d.month = static_cast<uint16_t>(month);
  d.day = static_cast<uint16_t>(doy - (153 * mp + 2) / 5 + 1);
  d.hour = static_cast<uint16_t>(msOfDay / 3600000);
  d.minute = static_cast<uint16_t>(msOfDay / 60000 % 60);
  d.second = static_cast<uint16_t>(msOfDay / 1000 % 60);
  d.milliseconds = static_cast<uint16_t>(msOfDay % 1000);
  return d;
}

}  // namespace tarvo
