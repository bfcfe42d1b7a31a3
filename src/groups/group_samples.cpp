#include "groups/group_samples.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace torvi {

namespace {

// x as the double nearest to it and the remainder, which holds the few bits
// a double lacks; their sum in extended precision is x again.
void split(long double x, double* parts) {
  parts[0] = static_cast<double>(x);
  parts[1] = static_cast<double>(x - parts[0]);
  if (GroupSamples::value(parts) != x) throw std::logic_error("a per-sample sum does not split into two doubles");
}

}  // namespace

GroupSamples::GroupSamples(const CountTables& ct, bool richness)
    : index_(ct.index.get()), np_(ct.np), nl_(ct.nl) {
  typed_.assign((static_cast<size_t>(np_) + 1) * (nl_ + 1), 0);
  sums_.assign(kStride * ct.allele_count.size(), 0.0);
  const bool rarefy = richness && ct.min_typed >= 1;
  if (rarefy) richness_.assign(typed_.size(), 0.0L);
  for (int l = 1; l <= nl_; ++l) {
    const int k = alleles(l);
    for (int s = 1; s <= np_; ++s) {
      const int32_t n = ct.typed(s, l);
      typed_[index(s, l)] = n;
      const long double nn = n;
      const long double* p = ct.allele_row(s, l);
      const long double* h = ct.het_row(s, l);
      double* out = &sums_[kStride * row(s, l)];
      for (int j = 0; j < k; ++j) {
        split(nn * p[j], out + kStride * j);
        split(nn * (p[j] * p[j]), out + kStride * j + kParts);
        split(nn * h[j], out + kStride * j + 2 * kParts);
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
