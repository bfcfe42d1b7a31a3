#pragma once

#include <cstdint>
#include <string>

namespace torvi {

// Fixed-point text of `value` with `decimals` decimals, right-aligned in
// `width` characters and widened when it needs more room. The value is first
// rounded to 15 significant digits, then to `decimals` places with ties half
// away from zero, so 0.0625 at 3 decimals is "0.063" however it was computed.
// A result whose digits are all zero carries no minus sign.
std::string fixed(long double value, int width, int decimals);

// The same text formed digit by digit from the value's 15 significant
// digits: what fixed() falls back to near a rounding tie or for large values.
std::string fixed_by_digits(long double value, int width, int decimals);

// Integer right-aligned in `width` characters (0: its fewest digits).
std::string integer(int64_t value, int width = 0);

// The two texts appended to `out` in one go, after the character `lead`
// unless it is 0 (a column separator), for writers of large tables.
void append_fixed(std::string& out, long double value, int width, int decimals, char lead = 0);
void append_integer(std::string& out, int64_t value, int width = 0, char lead = 0);

// Text right-aligned in `width` characters (never cut).
std::string right(const std::string& text, int width);

// Missing-value texts of the three field widths.
inline constexpr const char* kNA6 = "    NA";
inline constexpr const char* kNA7 = "     NA";
inline constexpr const char* kNA8 = "      NA";

}  // namespace torvi
