#pragma once

// The fixed-point text of fixed_format.h formed straight into a writer's own
// buffer, for the largest tables, where appending each cell to a string
// costs more than forming it. Inline, so that a writer of one column format
// gets it specialised.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace torvi {

// Room the text of put_quick_fixed takes at most, lead and padding included.
inline constexpr int kQuickFixedRoom = 40;

namespace quick_fixed {

// Powers of ten up to the decimals a quick text can have.
inline constexpr int kQuickDecimals = 8;
inline constexpr double kTen[kQuickDecimals + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
// A value whose text needs more significant digits than the 15 it is first
// rounded to takes the digit by digit path.
inline constexpr double kQuickLimit = 1e15;
// Rounding to 15 significant digits moves a value by at most 5e-15 of it,
// and forming the scaled value in double precision by less than 3e-16 of
// it: a scaled value whose fraction lies farther than this share of it from
// one half rounds the same way with or without the first step.
inline constexpr double kTieMargin = 1e-13;

// Writes `units` right to left ending at `end`, with `decimals` of its
// digits after a point; returns where the text starts.
inline char* write_units(char* end, uint64_t units, int decimals) {
  char* p = end;
  for (int d = 0; d < decimals; ++d, units /= 10) *--p = static_cast<char>('0' + units % 10);
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units > 0);
  return p;
}

inline int digit_count(uint64_t units) {
  int n = 1;
  while (units >= 10) units /= 10, ++n;
  return n;
}

}  // namespace quick_fixed

// Writes at `at` the text append_fixed(value, width, decimals, lead) appends
// when that text can be formed quickly: a finite value with fewer than 16
// digits, far enough from a rounding tie, in a narrow field. Returns the end
// of the text, or nullptr (and nothing written) when it takes the slow way.
inline char* put_quick_fixed(char* at, long double value, int width, int decimals, char lead = 0) {
  using namespace quick_fixed;
  if (!std::isfinite(value) || decimals < 0 || decimals > kQuickDecimals || width > kQuickFixedRoom - 24)
    return nullptr;
  const bool negative = value < 0;
  const double x = static_cast<double>(negative ? -value : value) * kTen[decimals];
  if (!(x < kQuickLimit)) return nullptr;
  auto units = static_cast<uint64_t>(x);
  const double fraction = x - static_cast<double>(units);
  if (std::fabs(fraction - 0.5) <= x * kTieMargin) return nullptr;
  if (fraction > 0.5) ++units;

  const bool minus = negative && units != 0;  // no sign on a text of zeros
  const int length = std::max(digit_count(units) - decimals, 1) + (decimals > 0 ? 1 + decimals : 0) + minus;
  if (lead) *at++ = lead;
  for (int pad = width - length; pad > 0; --pad) *at++ = ' ';
  char* end = at + length;
  write_units(end, units, decimals);
  if (minus) *at = '-';
  return end;
}

}  // namespace torvi
