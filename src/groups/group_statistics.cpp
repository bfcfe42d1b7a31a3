#include "groups/group_statistics.h"

#include <algorithm>
#include <cmath>

#include "stats/tolerances.h"
#include "stats/wc_components.h"

namespace torvi {

namespace {

constexpr long double kLowest = 0.001L, kHighest = 0.999L;  // pooled frequencies that enter

struct Components {
  long double A = 0.0L, B = 0.0L, C = 0.0L;
};

// Sums over the typed members, in their ascending order, of each of the
// three per-sample values of `slots` consecutive allele slots from slot j.
template <int slots>
void pool(const double* const* typed, int r, int j, long double (&sum)[slots][3]) {
  constexpr int stride = GroupSamples::kStride, parts = GroupSamples::kParts;
  for (auto& s : sum) s[0] = s[1] = s[2] = 0.0L;
  for (int i = 0; i < r; ++i) {
    const double* x = typed[i] + stride * j;
    for (int a = 0; a < slots; ++a)
      for (int v = 0; v < 3; ++v) sum[a][v] += GroupSamples::value(x + stride * a + parts * v);
  }
}

// Adds one allele's components to `sum` when its pooled frequency enters.
void add_allele(const long double (&pooled)[3], int r, long double nbar, const WcLocusTerms& terms, Components& sum) {
  const long double pbar = pooled[0] / r / nbar;
  if (!(kLowest < pbar && pbar < kHighest)) return;
  const long double s2 = (pooled[1] - pbar * pbar * r * nbar) / (r - 1) / nbar;
  const long double hbar = pooled[2] / r / nbar;
  const WcAlleleComponents abc = wc_allele_components(pbar, s2, hbar, terms);
  sum.A += abc.a;
  sum.B += abc.b;
  sum.C += abc.c;
}

// Adds locus l's components over the group to `sum`, alleles in order.
void add_locus(const GroupSamples& samples, int l, const int* members, int count, const double** typed,
               Components& sum) {
  int r = 0;
  long double S1 = 0.0L, S2 = 0.0L;
  for (int i = 0; i < count; ++i) {
    const int32_t n = samples.typed(members[i], l);
    if (n == 0) continue;  // an untyped member adds 0 to every sum
    typed[r++] = samples.sums(members[i], l);
    S1 += n;
    S2 += static_cast<long double>(n) * n;
  }
  // Fewer than two typed members, or one typed individual in each (n̄ = 1:
  // the components would divide by n̄ - 1 = 0): the locus does not enter.
  if (r < 2 || S1 == 0.0L) return;
  const long double nbar = S1 / r;
  if (nbar == 1.0L) return;
  const WcLocusTerms terms(r, nbar, (S1 - S2 / S1) / (r - 1));
  const int k = samples.alleles(l);
  int j = 0;
  // Two alleles at a time: their six sums go on side by side.
  for (long double pooled[2][3]; j + 1 < k; j += 2) {
    pool<2>(typed, r, j, pooled);
    add_allele(pooled[0], r, nbar, terms, sum);
    add_allele(pooled[1], r, nbar, terms, sum);
  }
  for (long double pooled[1][3]; j < k; ++j) {
    pool<1>(typed, r, j, pooled);
    add_allele(pooled[0], r, nbar, terms, sum);
  }
}

// A / d, or 0 when d is too small to divide by.
long double ratio_or_zero(long double a, long double d) { return d <= kNegligible ? 0.0L : a / d; }

long double mean_richness(const GroupSamples& samples, const int* members, int count) {
  long double total = 0.0L;
  int64_t pairs = 0;
  for (int l = 1; l <= samples.loci(); ++l)
    for (int i = 0; i < count; ++i) {
      total += samples.richness(members[i], l);
      ++pairs;
    }
  return total / pairs;
}

}  // namespace

GroupStats group_statistics(const GroupSamples& samples, const int* members, int count, bool components,
                            bool richness, GroupScratch& scratch) {
  GroupStats stats{};
  if (components) {
    Components sum;
    for (int l = 1; l <= samples.loci(); ++l) add_locus(samples, l, members, count, scratch.typed.data(), sum);
    const long double nl = samples.loci();
    const auto [A, B, C] = sum;
    stats[static_cast<int>(GroupStatistic::ho)] = C / nl;
    stats[static_cast<int>(GroupStatistic::hs)] = (C + B) / nl;
    stats[static_cast<int>(GroupStatistic::fis)] = (C + B) / nl <= kNegligible ? 0.0L : B / (B + C);
    stats[static_cast<int>(GroupStatistic::fst)] = ratio_or_zero(A, A + B + C);
    stats[static_cast<int>(GroupStatistic::rel)] = ratio_or_zero(A, A + B + C / 2);
    stats[static_cast<int>(GroupStatistic::relc)] = ratio_or_zero(-2 * B, C);
  }
  if (richness) stats[static_cast<int>(GroupStatistic::allelic_richness)] = mean_richness(samples, members, count);
  return stats;
}

long double group_test_value(const GroupStats* groups, int count, GroupStatistic statistic, bool one_sided) {
  const int i_stat = static_cast<int>(statistic);
  if (one_sided && count == 2) return groups[0][i_stat] - groups[1][i_stat];
  long double t = 0.0L;
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j) {
      const long double d = groups[i][i_stat] - groups[j][i_stat];
      t += d * d;
    }
  return t;
}

}  // namespace torvi
