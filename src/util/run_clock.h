#pragma once

#include <ctime>
#include <string>

namespace torvi {

// The moment a run is dated with: SOURCE_DATE_EPOCH when it is set (so that
// output can be reproduced byte for byte), otherwise the clock.
struct RunClock {
  std::time_t seconds = 0;
  bool from_source_date_epoch = false;
};

RunClock run_clock();

// The date and time of result-file headers: the C locale's short date and
// long time, "11/14/23 at 22:13:20"; in UTC for SOURCE_DATE_EPOCH, else in
// local time.
std::string header_date_time_text(const RunClock& clock);

// "2023-11-14T22:13:20Z".
std::string utc_text(std::time_t seconds);

}  // namespace torvi
