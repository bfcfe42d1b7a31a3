#pragma once

#include <cstdint>
#include <vector>

#include "dispersal/set_tables.h"
#include "dispersal/values.h"

namespace torvi::dispersal {

// The log-likelihood of each individual's genotype in its own sample at
// each locus: 2·ln(p_a) for a homozygote, ln(2·p_a·p_b) for a heterozygote.
// Permuting individuals within samples leaves the frequencies, and so these
// terms, as they are; only the sums over the samples' members are redone.
struct AssignmentTerms {
  int32_t np = 0, nl = 0, ni = 0;
  std::vector<int32_t> cumulative;    // individuals of samples 1..s
  std::vector<long double> log_term;  // [k × nl + l], where k is typed
  std::vector<uint8_t> typed;         // [k × nl + l]
  std::vector<int32_t> typed_count;   // [(s - 1) × nl + l]
};

AssignmentTerms assignment_terms(const IndexedSet& pooled, const CountTables& tables);

struct SexAssignment {
  int64_t n = 0;
  Value mean, var;  // of the assignment indices, variance with divisor n
};

struct AssignmentStatistics {
  SexAssignment phil, disp;
  Value t;  // (mean phil − mean disp) / standard error
};

// The statistics with the individuals in `order` (position → individual;
// each sample's positions are its own individuals): in each sample the
// first phil_sizes[s] positions are philopatric, the others not. The sums
// over a sample follow the positions. `sums` holds nl entries of workspace.
AssignmentStatistics assignment_statistics(const AssignmentTerms& terms, const int32_t* order,
                                           const std::vector<int32_t>& phil_sizes, long double* sums);

}  // namespace torvi::dispersal
