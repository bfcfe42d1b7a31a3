#pragma once

#include <string>
#include <vector>

#include "groups/group_test.h"

namespace torvi {

// The lines of a "_test.out" result file after its banner: for each group
// its members' names and the values of the ticked statistics, then an empty
// line. A statistic ticked but not formed (the richness of a data set with
// an untyped sample at some locus) shows NA.
std::string group_section_text(const GroupComparison& comparison, const GroupTest& test,
                               const std::vector<std::string>& sample_names);

// The heading of the P-values and one line per ticked statistic,
// P = (count + 1) / N.
std::string p_value_section_text(const GroupComparison& comparison, const GroupTest& test);

}  // namespace torvi
