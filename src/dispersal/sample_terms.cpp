#include "dispersal/sample_terms.h"

namespace torvi::dispersal {

namespace {

// Entries of the three tables together (16 MB of extended reals).
constexpr size_t kBudget = size_t{1} << 20;

}  // namespace

SampleTerms::SampleTerms(int32_t largest_sample) {
  // Rows for sizes 1, 2, ... as long as the three tables fit the budget.
  while (tabled_ < largest_sample) {
    const int32_t n = tabled_ + 1;
    const size_t after = 2 * copies_start(n + 1) + carriers_start(n + 1);
    if (after > kBudget) break;
    tabled_ = n;
  }
  np_.resize(copies_start(tabled_ + 1));
  npp_.resize(copies_start(tabled_ + 1));
  nh_.resize(carriers_start(tabled_ + 1));
  for (int32_t n = 1; n <= tabled_; ++n) {
    for (int32_t c = 0; c <= 2 * n; ++c) {
      np_[copies_start(n) + static_cast<size_t>(c)] = np(n, c);
      npp_[copies_start(n) + static_cast<size_t>(c)] = npp(n, c);
    }
    for (int32_t h = 0; h <= n; ++h) nh_[carriers_start(n) + static_cast<size_t>(h)] = nh(n, h);
  }
}

}  // namespace torvi::dispersal
