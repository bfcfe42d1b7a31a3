#pragma once

#include <string>

#include "dispersal/test_values.h"

namespace torvi::dispersal {

using PValues = std::array<Value, kDispersalTestCount>;

// Lines 1 and 2 of the ".res" file.
std::string res_header(const std::string& base, bool two_sided, int32_t permutations);

// The observed line of one sex's set (its letter) or of both ("overall").
std::string set_line(char letter, const SetStatistics& s);
std::string overall_line(const SetStatistics& s);

// The observed lines of the assignment indices, philopatric sex first.
std::string assignment_lines(char phil_letter, char disp_letter, const AssignmentStatistics& a);

// The P-value of each ticked test followed by a tab, then two line ends.
std::string p_value_text(const TestChoice& choice, const PValues& p);

// Appends one line of the ".per" file: k, then D of each ticked test.
void append_per_line(std::string& out, int64_t k, const TestChoice& choice, const TestArray& d);

// The closing message.
std::string closing_message(const std::string& base, const TestChoice& choice, const PValues& p);

}  // namespace torvi::dispersal
