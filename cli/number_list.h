#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torvi::cli {

// Numbers written as a comma-separated list in which an item may be a range:
// "2,5", "1-4,7". The numbers come back in the order written, ranges
// expanded, repeats kept. Nothing, with `error` saying why, for anything
// else (an empty item, a descending range, a number below 1).
std::optional<std::vector<int>> parse_number_list(const std::string& text, std::string& error);

}  // namespace torvi::cli
