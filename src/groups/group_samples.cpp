#include "groups/group_samples.h"

#include <algorithm>
#include <cmath>

namespace torvi {

GroupSamples::GroupSamples(const CountTables& ct, bool richness)
    : index_(ct.index.get()), np_(ct.np), nl_(ct.nl) {
  typed_.assign((static_cast<size_t>(np_) + 1) * (nl_ + 1), 0);
  sums_.assign(3 * ct.allele_count.size(), 0.0L);
  const bool rarefy = richness && ct.min_typed >= 1;
  if (rarefy) richness_.assign(typed_.size(), 0.0L);
  for (int l = 1; l <= nl_; ++l) {
    const int k = alleles(l);
    max_alleles_ = std::max(max_alleles_, k);
    for (int s = 1; s <= np_; ++s) {
      const int32_t n = ct.typed(s, l);
      typed_[index(s, l)] = n;
      const long double nn = n;
      const long double* p = ct.allele_row(s, l);
      const long double* h = ct.het_row(s, l);
      long double* out = &sums_[3 * row(s, l)];
      for (int j = 0; j < k; ++j) {
        out[3 * j] = nn * p[j];
        out[3 * j + 1] = nn * (p[j] * p[j]);
        out[3 * j + 2] = nn * h[j];
      }
      if (rarefy) richness_[index(s, l)] = rarefied_richness(p, k, n, 2 * ct.min_typed);
    }
  }
}

long double rarefied_richness(const long double* p, int k, int32_t n, int genes_drawn) {
  const long double genes = 2.0L * n;
  long double richness = 0.0L;
  for (int j = 0; j < k; ++j) {
    // An allele absent from the sample is never drawn: 1 - Q is 0 exactly.
    if (p[j] == 0.0L) continue;
    const long double others = genes - genes * p[j];
    long double absent = 0.0L;  // Q
    if (!(genes_drawn > others)) {
      long double log_q = std::log(others / genes);
      for (int f = 1; f < genes_drawn; ++f) log_q += std::log((others - f) / (genes - f));
      absent = std::exp(log_q);
    }
    richness += 1.0L - absent;
  }
  return richness;
}

}  // namespace torvi
