#include "json/json_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/limits.h"

namespace torvi {

namespace {

constexpr int kIndentStep = 2;
// An object of plain values that fits in this many characters stays on one
// line (a sample's or a locus's record reads best as one row).
constexpr size_t kOneLineObject = 100;

bool is_plain(const Json& j) { return !j.is_object() && !j.is_array(); }
// A plain value, or an array of plain values (written on one line).
bool is_flat(const Json& j) { return is_plain(j) || (j.is_array() && std::all_of(j.begin(), j.end(), is_plain)); }

std::string quoted(const std::string& s) {
  return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

void write_value(std::string& out, const Json& j, int indent);

std::string one_line_object(const Json& j) {
  std::string out = "{";
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (it != j.begin()) out += ", ";
    out += quoted(it.key()) + ": ";
    write_value(out, it.value(), 0);
  }
  return out + "}";
}

void write_object(std::string& out, const Json& j, int indent) {
  if (std::all_of(j.begin(), j.end(), is_flat)) {
    std::string line = one_line_object(j);
    if (line.size() <= kOneLineObject) {
      out += line;
      return;
    }
  }
  const std::string pad(static_cast<size_t>(indent + kIndentStep), ' ');
  out += "{\n";
  bool first = true;
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (!first) out += ",\n";
    first = false;
    out += pad;
    out += quoted(it.key());
    out += ": ";
    write_value(out, it.value(), indent + kIndentStep);
  }
  out += '\n';
  out.append(static_cast<size_t>(indent), ' ');
  out += '}';
}

void write_array(std::string& out, const Json& j, int indent) {
  const bool flat = std::all_of(j.begin(), j.end(), is_plain);
  const std::string pad = flat ? "" : std::string(static_cast<size_t>(indent + kIndentStep), ' ');
  out += flat ? "[" : "[\n";
  bool first = true;
  for (const Json& item : j) {
    if (!first) out += flat ? ", " : ",\n";
    first = false;
    out += pad;
    write_value(out, item, indent + kIndentStep);
  }
  if (!flat) {
    out += '\n';
    out.append(static_cast<size_t>(indent), ' ');
  }
  out += "]";
}

void write_value(std::string& out, const Json& j, int indent) {
  switch (j.type()) {
    case Json::value_t::object:
      write_object(out, j, indent);
      break;
    case Json::value_t::array:
      write_array(out, j, indent);
      break;
    case Json::value_t::string:
      out += quoted(j.get_ref<const std::string&>());
      break;
    case Json::value_t::number_float:
      out += shortest_decimal(j.get<double>());
      break;
    default:  // integers, booleans, null
      out += j.dump();
      break;
  }
}

}  // namespace

std::string shortest_decimal(double x) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, x).ptr;
  return std::string(text, end);
}

Json json_na(std::string_view reason) { return Json(std::string(kNaPrefix) + std::string(reason)); }

Json json_real(long double x) {
  const double d = static_cast<double>(x);
  if (!std::isfinite(d)) return json_na(std::isnan(d) ? "not a number" : "infinite");
  return Json(d);
}

Json json_real_or_na(long double x, std::string_view reason) {
  return is_value(x) ? json_real(x) : json_na(reason);
}

Json json_real_or_na(const std::optional<long double>& x, std::string_view reason) {
  return x ? json_real(*x) : json_na(reason);
}

Json json_p_value(long double p, int64_t count, int64_t n) {
  return {{"P", json_real(p)}, {"count", count}, {"N", n}, {"mc_se", json_real(std::sqrt(p * (1 - p) / n))}};
}

std::string json_text(const Json& doc) {
  std::string out;
  write_value(out, doc, 0);
  out += "\n";
  return out;
}

}  // namespace torvi
