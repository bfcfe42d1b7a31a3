#pragma once

#include <cmath>
#include <optional>

namespace torvi::dispersal {

// A statistic that may have no value ("NA"): a zero denominator, or a set
// or sex without the individuals it needs.
using Value = std::optional<long double>;

// num / den, no value when den is 0 or the quotient is not a finite number.
inline Value ratio(long double num, long double den) {
  if (den == 0) return std::nullopt;
  const long double q = num / den;
  if (!std::isfinite(q)) return std::nullopt;
  return q;
}

inline Value minus(const Value& a, const Value& b) {
  if (!a || !b) return std::nullopt;
  return *a - *b;
}

}  // namespace torvi::dispersal
