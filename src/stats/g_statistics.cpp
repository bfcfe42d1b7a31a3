#include "stats/g_statistics.h"

#include <algorithm>
#include <cmath>

#include "model/limits.h"
#include "util/nearest_count.h"

namespace torvi {

long double XLogX::direct(int k) {
  return k <= 0 ? 0.0L : static_cast<long double>(k) * std::log(static_cast<long double>(k));
}

void XLogX::reserve(int max_count) {
  const size_t old = table_.size();
  if (static_cast<size_t>(max_count) + 1 <= old) return;
  table_.resize(static_cast<size_t>(max_count) + 1);
  for (size_t k = old; k < table_.size(); ++k) table_[k] = direct(static_cast<int>(k));
}

void CountHistogram::resize(int max_count) {
  holding_.assign(static_cast<size_t>(max_count) + 1, 0);
  seen_.assign(static_cast<size_t>(max_count) + 1, 0);
  distinct_ = 0;
}

void CountHistogram::add_cells(const int32_t* cells, size_t n) {
  // Scanning all counts costs max_count steps: worth it when there are at
  // least as many cells, which then need no test or list of their own.
  if (n < holding_.size()) {
    for (size_t i = 0; i < n; ++i)
      if (cells[i] > 1) add(cells[i]);
    return;
  }
  scan_ = true;
  int32_t* holding = holding_.data();
  for (size_t i = 0; i < n; ++i) ++holding[cells[i]];
}

long double CountHistogram::take_sum(const XLogX& xlogx) {
  long double sum = 0;
  if (scan_) {
    holding_[0] = holding_[1] = 0;
    for (size_t c = 2; c < holding_.size(); ++c)
      if (holding_[c] != 0) {
        sum += static_cast<long double>(holding_[c]) * xlogx(static_cast<int>(c));
        holding_[c] = 0;
      }
    scan_ = false;
  } else {
    std::sort(seen_.begin(), seen_.begin() + distinct_);
    for (int d = 0; d < distinct_; ++d) {
      const int32_t c = seen_[static_cast<size_t>(d)];
      sum += static_cast<long double>(holding_[static_cast<size_t>(c)]) * xlogx(c);
      holding_[static_cast<size_t>(c)] = 0;
    }
  }
  distinct_ = 0;
  return sum;
}

void GState::allocate(int nl) {
  g_calls = 0;
  g_locus.assign(static_cast<size_t>(nl) + 1, 0.0L);
  obs_g_locus.assign(static_cast<size_t>(nl) + 1, na_value);
  g_total = obs_g_total = 0;
}

void locus_g(const CountTables& ct, GState& g) {
  const bool first_call = ++g.g_calls == 1;
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

  if (first_call) {
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
