#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/analysis.h"

namespace torvi {

// The tests of differentiation of every pair of samples i > j: the observed
// G and the permutations whose G reached it.
struct PairwiseTests {
  int np = 0;
  int64_t n = 0;      // permutations of each pair, the observed arrangement included
  int64_t pairs = 0;  // np(np - 1)/2
  std::vector<long double> g;    // at(i, j)
  std::vector<int64_t> at_least;  // at(i, j)
  size_t at(int i, int j) const { return static_cast<size_t>(i) * (np + 1) + j; }
};

// Permutes the individuals of each pair of samples between the two; the
// count tables of each pair are left holding its last permutation.
PairwiseTests compute_pairwise_tests(RunContext& ctx, const DataSet& ds, CountTables& ct);

// The P-values above the diagonal, then the marks of significance.
void write_pairwise_tests(const PairwiseTests& t, const DataSet& ds, const std::string& path);

// Pairwise differentiation tests on the data file read again: base_name + "-pp.pvl".
void pairwise_test(RunContext& ctx, Analysis& an);

}  // namespace torvi
