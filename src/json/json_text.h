#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace torvi {

// Documents keep their members in the order they were added, so that a
// results document lists its sections in the order of the result file.
using Json = nlohmann::ordered_json;

// A real of a result at full precision: the shortest decimal that reads back
// as the same double (the extended value rounded to double first). A value
// that is not finite cannot be written as a JSON number and becomes NA.
Json json_real(long double x);

// An estimate that could not be formed: the string "NA: " + the reason
// ("NA: monomorphic"). A script tells values from NA by their type.
Json json_na(std::string_view reason);

// json_real(x), or NA with `reason` when x carries the missing-value marker.
Json json_real_or_na(long double x, std::string_view reason);

// json_real(*x), or NA with `reason` when there is no value.
Json json_real_or_na(const std::optional<long double>& x, std::string_view reason);

// A P-value of a randomisation test over n data sets (the observed one among
// them), `count` of the randomised ones at least as extreme:
// {P, count, N, mc_se}, mc_se = sqrt(P (1 - P) / N).
Json json_p_value(long double p, int64_t count, int64_t n);

// Prefix of every NA string.
inline constexpr std::string_view kNaPrefix = "NA: ";

// The shortest decimal text that reads back as x ("0.1", "1e-05", "-0").
std::string shortest_decimal(double x);

// The document as text: objects one member per line, arrays of plain values
// on one line, reals as shortest_decimal, UTF-8 with any invalid byte of a
// name read from a file replaced (never an exception). Ends with "\n".
std::string json_text(const Json& doc);

}  // namespace torvi
