#pragma once

#include <string>

namespace torvi {

// Proportions of randomised values at least as large as the observed one,
// with a tolerance of 1e-5, from the N sorted values (the observed among them).
struct RankP {
  bool bound = false;  // no randomised value reached the observed: 1/N
  long double first = 0, second = 0;
};
RankP rank_p_interval(const long double* sorted, long long n, long double observed);

// The printed line (without line end) for a locus name or "All Loci".
std::string rank_p_line(const std::string& label, const RankP& p);

}  // namespace torvi
