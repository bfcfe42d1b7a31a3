#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace torvi {

// Elapsed time of the running randomisation test and an estimate of the time
// it still needs, from the rate of its randomisations so far. Both progress
// displays (the command line's line, the window's bar) show this text.
struct ProgressTime {
  double elapsed_seconds = 0;
  std::optional<double> remaining_seconds;  // none until there is a rate to go by
};

// Seconds of work below which no estimate is offered: the first steps include
// setting the test up and say little about the rate.
inline constexpr double kMinSecondsForEstimate = 0.5;

// The estimate for `done` of `range` randomisations after `elapsed_seconds`.
ProgressTime progress_time(double elapsed_seconds, int64_t done, int64_t range);

// "0:07", "12:34", "1:02:03" (whole seconds, rounded down).
std::string duration_text(double seconds);

// "elapsed 0:07, about 0:12 left", or "elapsed 0:07" while nothing is known.
std::string progress_time_text(const ProgressTime& t);

// Steady-clock time as nanoseconds, storable in an atomic for the displays
// that read it on another thread.
inline int64_t steady_now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace torvi
