#include "stats/g_statistics.h"

#include <algorithm>
#include <cmath>

#include "model/limits.h"
#include "util/nearest_count.h"

namespace torvi {

void locus_g(const CountTables& ct, GState& g, TablesOf tables) {
  const bool observed = tables == TablesOf::observed;
  const AlleleIndex& ix = *ct.index;

  // A cell never holds more than twice its sample's typed individuals.
  int max_count = 0;
  for (int s = 1; s <= ct.np; ++s)
    for (int l = 1; l <= ct.nl; ++l) max_count = std::max(max_count, 2 * ct.typed(s, l));
  if (g.histogram.max_count() < max_count) {
    g.xlogx.reserve(max_count);
    g.histogram.resize(max_count);
  }

  g.g_total = 0;
  for (int l = 1; l <= ct.nl; ++l) {
    const int k = ix.alleles_at_locus(l);
    long double sum_beyond = 0;
    for (int s = 1; s <= ct.np; ++s) {
      const long double two_n = 2.0L * ct.typed(s, l);
      const long double* p = ct.allele_row(s, l);
      for (int j = 0; j < k; ++j) {
        if (!(p[j] > 0)) continue;
        const int32_t c = nearest_count(two_n * p[j]);
        if (c <= 1) continue;
        if (c > max_count) {  // not a frequency: counted as it stands
          sum_beyond += g.xlogx(c);
          continue;
        }
        g.histogram.add(c);
      }
    }
    g.g_locus[l] = g.histogram.take_sum(g.xlogx) + sum_beyond;
    g.g_total += g.g_locus[l];
  }

  if (observed) {
    for (int l = 1; l <= ct.nl; ++l) g.obs_g_locus[l] = ix.alleles_at_locus(l) <= 1 ? na_value : g.g_locus[l];
    g.obs_g_total = g.g_total;
  }
}

// Σ cA ln(cA/eA) + cB ln(cB/eB) over the loci typed in both samples, with
// eA = (cA+cB) nA/(nA+nB), written as
// Σ [t(cA) + t(cB) - t(cA+cB)] - SA ln(nA/(nA+nB)) - SB ln(nB/(nA+nB)).
long double pair_g(const CountTables& ct, int s1, int s2, const XLogX& xlogx) {
  const AlleleIndex& ix = *ct.index;
  // ln k = (k ln k) / k from the table; ln 1 = 0.
  auto ln = [&](int k) { return k <= 1 ? 0.0L : xlogx(k) / k; };
  long double g = 0;
  for (int l = 1; l <= ix.nl; ++l) {
    const int32_t nA = ct.typed(s1, l), nB = ct.typed(s2, l);
    if (nA < 1 || nB < 1) continue;
    const long double* a = ct.allele_row(s1, l);
    const long double* b = ct.allele_row(s2, l);
    long double cells = 0;
    int32_t sum_a = 0, sum_b = 0;
    for (int j = 0, k = ix.alleles_at_locus(l); j < k; ++j) {
      const int32_t cA = nearest_count(a[j]), cB = nearest_count(b[j]);
      if (cA + cB == 0) continue;
      cells += xlogx(cA) + xlogx(cB) - xlogx(cA + cB);
      sum_a += cA;
      sum_b += cB;
    }
    const long double ln_total = ln(nA + nB);
    g += cells - sum_a * (ln(nA) - ln_total) - sum_b * (ln(nB) - ln_total);
  }
  return g;
}

}  // namespace torvi
