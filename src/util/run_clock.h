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

// "2023-11-14T22:13:20Z".
std::string utc_text(std::time_t seconds);

}  // namespace torvi
