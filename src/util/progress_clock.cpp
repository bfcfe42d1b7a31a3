#include "util/progress_clock.h"

#include <cmath>
#include <cstdio>

namespace torvi {

ProgressTime progress_time(double elapsed_seconds, int64_t done, int64_t range) {
  ProgressTime t;
  t.elapsed_seconds = elapsed_seconds > 0 ? elapsed_seconds : 0;
  if (done <= 0 || range <= 0 || t.elapsed_seconds < kMinSecondsForEstimate) return t;
  const int64_t left = range > done ? range - done : 0;
  t.remaining_seconds = t.elapsed_seconds * static_cast<double>(left) / static_cast<double>(done);
  return t;
}

std::string duration_text(double seconds) {
  // Clamped so that a wild estimate (a rate measured over one slow step)
  // still prints as a time and never overflows.
  constexpr double kMaxSeconds = 99.0 * 3600 + 59 * 60 + 59;
  const auto whole = static_cast<long>(std::floor(std::fmin(std::fmax(seconds, 0.0), kMaxSeconds)));
  const long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
  char text[32];
  if (h > 0)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", h, m, s);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", m, s);
  return text;
}

std::string progress_time_text(const ProgressTime& t) {
  std::string text = "elapsed " + duration_text(t.elapsed_seconds);
  if (t.remaining_seconds) text += ", about " + duration_text(*t.remaining_seconds) + " left";
  return text;
}

}  // namespace torvi
