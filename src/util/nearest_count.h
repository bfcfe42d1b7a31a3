#pragma once

#include <cstdint>

#include "util/truncate_extended.h"

namespace torvi {

// The nearest integer of a non-negative count held as an extended real,
// halves up: trunc(x + 0.5) formed in extended precision.
inline int32_t nearest_count(long double x) {
  return truncate_extended(static_cast<double>(x) + 0.5, [x] { return x + 0.5L; });
}

}  // namespace torvi
