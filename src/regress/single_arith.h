#pragma once

namespace torvi::regress {

// The regression stores every real in single precision; each product or sum
// is formed in extended precision and rounded once more when it is stored.
// These are the only ways the engine combines stored values, so that every
// printed digit follows from the same two roundings.

// acc + a * b, formed in extended precision, stored in single.
inline float add_product(float acc, float a, float b) {
  return static_cast<float>(static_cast<long double>(acc) + static_cast<long double>(a) * b);
}

// acc + (y - fitted)^2, formed in extended precision, stored in single.
inline float add_square_diff(float acc, float y, float fitted) {
  const long double e = static_cast<long double>(y) - fitted;
  return static_cast<float>(acc + e * e);
}

// a - b, stored in single.
inline float diff(float a, float b) { return static_cast<float>(static_cast<long double>(a) - b); }

// a / b, stored in single.
inline float quotient(float a, float b) { return static_cast<float>(static_cast<long double>(a) / b); }

}  // namespace torvi::regress
