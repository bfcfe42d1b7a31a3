#pragma once

#include <cstdint>

namespace torvi {

// A double within this of an integer may truncate otherwise than the
// extended real it stands for.
inline constexpr double kTruncationMargin = 1e-6;

// trunc(x) of a non-negative extended real x < 2^31, given `approx`, its
// value formed in double precision (within 2^-21 of it), and `exact()`,
// which forms x itself. Converting a long double to an integer switches the
// x87 rounding mode, which stalls the randomisation loops: away from an
// integer the double truncates alike, and near one two comparisons with x
// settle it.
template <class Exact>
inline int32_t truncate_extended(double approx, Exact&& exact) {
  auto k = static_cast<int32_t>(approx);
  const double frac = approx - k;
  if (frac > kTruncationMargin && frac < 1.0 - kTruncationMargin) return k;
  const long double x = exact();
  if (static_cast<long double>(k) > x)
    --k;
  else if (static_cast<long double>(k) + 1.0L <= x)
    ++k;
  return k;
}

}  // namespace torvi
