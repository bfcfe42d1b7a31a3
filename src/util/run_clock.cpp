#include "util/run_clock.h"

#include <cstdlib>

namespace torvi {

RunClock run_clock() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch)
    return {static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10)), true};
  return {std::time(nullptr), false};
}

std::string utc_text(std::time_t seconds) {
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

}  // namespace torvi
