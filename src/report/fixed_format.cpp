#include "report/fixed_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/quick_fixed.h"
#include "report/value_capture.h"

namespace torvi {

namespace {

// Adds one unit in the last place of a string of decimal digits.
void increment_digits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return;
    }
  }
  digits.insert(digits.begin(), '1');
}

// Room of append_integer's text with its padding: wider fields take the
// slow way.
constexpr int kQuickRoom = kQuickFixedRoom;

// Appends `lead` (when not 0), blanks up to `width`, then [p, end): one append.
void append_padded(std::string& out, char lead, int width, char* p, char* end, char* buf_begin) {
  const char* start = buf_begin + 1;  // keep room for the lead
  while (end - p < width && p > start) *--p = ' ';
  if (lead) *--p = lead;
  out.append(p, end);
}

}  // namespace

std::string fixed(long double value, int width, int decimals) {
  std::string text;
  append_fixed(text, value, width, decimals);
  if (value_capture::active) value_capture::note(value, text);
  return text;
}

void append_fixed(std::string& out, long double value, int width, int decimals, char lead) {
  char quick[kQuickFixedRoom];
  if (char* end = put_quick_fixed(quick, value, width, decimals, lead)) {
    out.append(quick, end);
    return;
  }
  if (lead) out += lead;
  out += fixed_by_digits(value, width, decimals);
}

void append_integer(std::string& out, int64_t value, int width, char lead) {
  char buf[kQuickRoom];
  char* end = buf + sizeof buf;
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char* p = quick_fixed::write_units(end, magnitude, 0);
  if (value < 0) *--p = '-';
  if (width <= kQuickRoom - 24) {
    append_padded(out, lead, width, p, end, buf);
    return;
  }
  if (lead) out += lead;
  out.append(static_cast<size_t>(std::max<int64_t>(0, width - (end - p))), ' ');
  out.append(p, end);
}

std::string fixed_by_digits(long double value, int width, int decimals) {
  if (std::isnan(value)) return right("NaN", width);
  if (std::isinf(value)) return right(value < 0 ? "-Inf" : "Inf", width);

  // 15 significant digits: d.dddddddddddddde+XX
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14Le", value);
  bool negative = buf[0] == '-';
  const char* p = buf + (negative ? 1 : 0);
  std::string digits;
  digits += p[0];
  digits.append(p + 2, 14);
  int exponent = std::atoi(p + 17);  // after "d.dddddddddddddde"

  // digits represent 0.d1d2...d15 x 10^(exponent+1). Place the decimal point.
  int int_len = exponent + 1;  // digits before the point (may be <= 0)
  if (int_len <= 0) {
    digits.insert(0, static_cast<size_t>(-int_len + 1), '0');
    int_len = 1;
  }
  if (static_cast<size_t>(int_len) > digits.size()) digits.append(int_len - digits.size(), '0');
  std::string int_part = digits.substr(0, static_cast<size_t>(int_len));
  std::string frac_part = static_cast<size_t>(int_len) < digits.size() ? digits.substr(int_len) : "";
  if (static_cast<int>(frac_part.size()) < decimals) frac_part.append(decimals - frac_part.size(), '0');

  // Round to `decimals` places, ties away from zero (on the magnitude).
  bool round_up = static_cast<int>(frac_part.size()) > decimals && frac_part[decimals] >= '5';
  std::string kept = int_part + frac_part.substr(0, static_cast<size_t>(decimals));
  if (round_up) increment_digits(kept);
  std::string ip = kept.substr(0, kept.size() - decimals);
  std::string fp = kept.substr(kept.size() - decimals);
  size_t nz = ip.find_first_not_of('0');
  ip = nz == std::string::npos ? "0" : ip.substr(nz);

  bool all_zero = ip == "0" && fp.find_first_not_of('0') == std::string::npos;
  std::string text = (negative && !all_zero) ? "-" : "";
  text += ip;
  if (decimals > 0) text += "." + fp;
  return right(text, width);
}

std::string integer(int64_t value, int width) {
  std::string text;
  append_integer(text, value, width);
  return text;
}

std::string right(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return text;
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

}  // namespace torvi
