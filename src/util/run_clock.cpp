#include "util/run_clock.h"

#include <cstdlib>

namespace torvi {

RunClock run_clock() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch)
    return {static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10)), true};
  return {std::time(nullptr), false};
}

std::string header_date_time_text(const RunClock& clock) {
  std::tm tm{};
  if (clock.from_source_date_epoch)
    gmtime_r(&clock.seconds, &tm);
  else
    localtime_r(&clock.seconds, &tm);
  char date[32], time[32];
  std::strftime(date, sizeof date, "%x", &tm);
  std::strftime(time, sizeof time, "%X", &tm);
  return std::string(date) + " at " + time;
}

std::string utc_text(std::time_t seconds) {
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

}  // namespace torvi
