#pragma once

#include <array>

#include "dispersal/assignment.h"
#include "dispersal/set_statistics.h"
#include "torvi/dispersal.h"

namespace torvi::dispersal {

using TestArray = std::array<Value, kDispersalTestCount>;

// The value D of each test (written to the ".per" file) and the value its
// count compares: D for one-sided tests; |D| for two-sided ones, except the
// variance test, which compares the larger variance over the smaller.
struct TestValues {
  TestArray d, compared;
};

struct TestChoice {
  std::array<bool, kDispersalTestCount> ticked{};
  bool two_sided = false;

  bool any_assignment() const { return ticked[0] || ticked[1]; }
  bool any_set_statistic() const;
};

// Fills the assignment tests (0, 1) from `a`.
void assignment_values(const TestChoice& choice, const AssignmentStatistics& a, TestValues& v);
// Fills the tests of the set statistics (2 to 6) from both sexes' values.
void set_values(const TestChoice& choice, const SetStatistics& phil, const SetStatistics& disp, TestValues& v);

// Whether a permuted value counts against the observed one (ties count; a
// value that is not defined on either side never counts).
inline bool counts(const Value& permuted, const Value& observed) {
  return permuted && observed && *permuted >= *observed;
}

}  // namespace torvi::dispersal
