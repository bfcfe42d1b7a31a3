#pragma once

#include <cstdint>

namespace torvi {

// The nearest integer of a non-negative count held as an extended real,
// halves up: trunc(x + 0.5) formed in extended precision. Converting a long
// double to an integer switches the x87 rounding mode, which stalls the
// randomisation loops; the double path gives the same integer except within
// 1e-6 of a half, where the extended value settles it.
inline int32_t nearest_count(long double x) {
  const double d = static_cast<double>(x) + 0.5;
  int32_t c = static_cast<int32_t>(d);
  const double frac = d - c;
  if (frac > 1e-6 && frac < 1.0 - 1e-6) return c;
  const long double y = x + 0.5L;
  if (static_cast<long double>(c) > y)
    --c;
  else if (static_cast<long double>(c) + 1.0L <= y)
    ++c;
  return c;
}

}  // namespace torvi
