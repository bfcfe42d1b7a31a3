#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dispersal/assignment.h"
#include "dispersal/sample_terms.h"
#include "dispersal/set_tables.h"
#include "dispersal/split_files.h"
#include "dispersal/test_values.h"

namespace torvi::dispersal {

// The observed data, read back from the three split files, and what the
// permutations keep of them.
struct ObservedData {
  IndexedSet pooled;            // both sexes, philopatric first in each sample
  CountTables pooled_tables;
  SampleTerms sample_terms{0};  // of the pooled set's sample sizes
  AssignmentTerms assignment;   // filled when an assignment test is ticked
  std::vector<int32_t> phil_sizes;  // [s]: philopatric individuals of sample s
  TestValues values;            // observed value of each test
  SetStatistics phil_stats, disp_stats, pooled_stats;    // each sex's set and both
  std::optional<AssignmentStatistics> assignment_stats;  // when an assignment test is ticked
  std::string res_lines;        // the observed lines of the ".res" file
};

// Reads the three files, computes each set's statistics (and the assignment
// indices when test 0 or 1 is ticked) and the lines the ".res" file shows of
// them: the three statistics lines when a set statistic is ticked, the two
// assignment lines when an assignment test is.
ObservedData observed_pass(const SplitPaths& paths, const TestChoice& choice, char phil_letter, char disp_letter);

// The statistics of a whole set as read from its file.
SetStatistics statistics_of(const GenotypeSet& set);

}  // namespace torvi::dispersal
