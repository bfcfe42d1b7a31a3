#include "ld/pair_stat.h"

#include <algorithm>
#include <cmath>

#include "stats/tolerances.h"

namespace torvi {

LdTable::LdTable(size_t max_cells, int max_count)
    : cells_(max_cells, 0), touched_(std::max<size_t>(max_cells, 1), 0),
      cells_holding_(static_cast<size_t>(max_count) + 1, 0), c_ln_c_(max_count) {}

template <bool kClear>
long double LdTable::g_of_cells() {
  // Cells holding each count above 1, then the terms in ascending count.
  int32_t* cells = cells_.data();
  int32_t* holding = cells_holding_.data();
  int32_t largest = 1;
  for (size_t t = 0; t < n_touched_; ++t) {
    const int32_t held = cells[touched_[t]];
    if constexpr (kClear) cells[touched_[t]] = 0;
    ++holding[held];
    largest = std::max(largest, held);
  }
  if constexpr (kClear) n_touched_ = 0;
  long double g = 0.0L;
  for (int32_t c = 2; c <= largest; ++c) {
    if (holding[c] > 0) g += static_cast<long double>(holding[c]) * c_ln_c_(c);
    holding[c] = 0;
  }
  holding[1] = 0;
  return g;
}

long double LdTable::count(const LdGenotypes& lg, int s, int l1, int l2) {
  const int n = lg.sample_size(s);
  auto all_positions = [n](auto&& visit) {
    for (int p = 1; p <= n; ++p) visit(p);
  };
  fill(lg, s, l1, l2, all_positions);
  return g_of_cells<false>();
}

template long double LdTable::g_of_cells<true>();

LdEstimatorScratch::LdEstimatorScratch(const LdGenotypes& lg) {
  int k_max = 0, g_max = 0;
  for (int l = 1; l <= lg.nl(); ++l) {
    k_max = std::max(k_max, lg.allele_count_in_order(l));
    for (int s = 1; s <= lg.np(); ++s) g_max = std::max(g_max, lg.n_genotypes(s, l));
  }
  const size_t k = static_cast<size_t>(k_max) + 1;
  n_a.assign(k, 0);
  n_b.assign(k, 0);
  hom_a.assign(k, 0);
  hom_b.assign(k, 0);
  row_total.assign(static_cast<size_t>(g_max) + 1, 0);
  col_total.assign(static_cast<size_t>(g_max) + 1, 0);
  twice_n_ab.assign(k * k, 0);
}

namespace {

// Allele copies by allele index among the individuals counted in the table,
// and the homozygote count of each allele.
void allele_copies(const LdGenotypes& lg, int s, int l, const std::vector<int64_t>& totals, int n_genotypes,
                   std::vector<int64_t>& copies, std::vector<int64_t>& hom) {
  std::fill(copies.begin(), copies.begin() + lg.allele_count_in_order(l) + 1, 0);
  std::fill(hom.begin(), hom.begin() + lg.allele_count_in_order(l) + 1, 0);
  for (int g = 1; g <= n_genotypes; ++g) {
    int i, j;
    lg.alleles_of(l, lg.present_genotype(s, l, g), i, j);
    if (i == j) {
      copies[i] += 2 * totals[g];
      hom[i] = totals[g];
    } else {
      copies[i] += totals[g];
      copies[j] += totals[g];
    }
  }
}

// Row and column totals of the last count, and how many of each are used.
struct Margins {
  int64_t cells = 0, sum_r = 0, sum_c = 0;
  int rows_used = 0, cols_used = 0;
};

Margins table_margins(const LdTable& table, LdEstimatorScratch& sc) {
  const int rows = table.rows(), cols = table.cols();
  std::fill(sc.row_total.begin(), sc.row_total.begin() + rows + 1, 0);
  std::fill(sc.col_total.begin(), sc.col_total.begin() + cols + 1, 0);
  Margins m;
  for (const int32_t* t = table.touched_begin(); t != table.touched_end(); ++t, ++m.cells) {
    const int r = *t / cols + 1, c = *t % cols + 1;
    sc.row_total[r] += table.at(r, c);
    sc.col_total[c] += table.at(r, c);
  }
  for (int r = 1; r <= rows; ++r) {
    m.sum_r += sc.row_total[r];
    m.rows_used += sc.row_total[r] > 0;
  }
  for (int c = 1; c <= cols; ++c) {
    m.sum_c += sc.col_total[c];
    m.cols_used += sc.col_total[c] > 0;
  }
  return m;
}

// Composite counts of the allele pairs, doubled so that the weights 2, 1 and
// 1/2 stay integers.
void composite_counts(const LdGenotypes& lg, int s, int l1, int l2, const LdTable& table, LdEstimatorScratch& sc) {
  const int cols = table.cols();
  const size_t stride = static_cast<size_t>(lg.allele_count_in_order(l2)) + 1;
  for (const int32_t* t = table.touched_begin(); t != table.touched_end(); ++t) {
    const int r = *t / cols + 1, c = *t % cols + 1;
    int a1, a2, b1, b2;
    lg.alleles_of(l1, lg.present_genotype(s, l1, r), a1, a2);
    lg.alleles_of(l2, lg.present_genotype(s, l2, c), b1, b2);
    const bool hom1 = a1 == a2, hom2 = b1 == b2;
    const int64_t add = static_cast<int64_t>(table.at(r, c)) * (hom1 && hom2 ? 4 : (hom1 || hom2 ? 2 : 1));
    sc.twice_n_ab[a1 * stride + b1] += add;
    if (!hom2) sc.twice_n_ab[a1 * stride + b2] += add;
    if (!hom1) sc.twice_n_ab[a2 * stride + b1] += add;
    if (!hom1 && !hom2) sc.twice_n_ab[a2 * stride + b2] += add;
  }
}

// Delta' and r2 summed over the pairs of alleles present, each pair handed
// to the observer if it wants them; the composite counts are cleared as they
// are read.
void allele_pair_sums(const LdGenotypes& lg, int s, int l1, int l2, LdEstimatorScratch& sc,
                      LdPairObserver& observer, LdPairResult& result) {
  const int k1 = lg.allele_count_in_order(l1), k2 = lg.allele_count_in_order(l2);
  const size_t stride = static_cast<size_t>(k2) + 1;
  const int n = result.n;
  const long double two_n = static_cast<long double>(2 * static_cast<int64_t>(n));
  long double dp_sum = 0.0L, r2_sum = 0.0L;
  LdAllelePair line;
  line.n = n;
  for (int a = 1; a <= k1; ++a) {
    if (sc.n_a[a] <= 0) continue;
    for (int b = 1; b <= k2; ++b) {
      if (sc.n_b[b] <= 0) continue;
      int64_t& twice = sc.twice_n_ab[a * stride + b];
      const long double nAB = static_cast<long double>(twice) * 0.5L;
      twice = 0;
      const long double pA = static_cast<long double>(sc.n_a[a]) / two_n;
      const long double pB = static_cast<long double>(sc.n_b[b]) / two_n;
      const long double delta = 2.0L * nAB / two_n - 2.0L * pA * pB;
      const long double pAA = static_cast<long double>(sc.hom_a[a]) / n;
      const long double pBB = static_cast<long double>(sc.hom_b[b]) / n;
      const long double piA = pA * (1.0L - pA) + (pAA - pA * pA);
      const long double piB = pB * (1.0L - pB) + (pBB - pB * pB);

      line.has_rab = std::fabs(piA * piB) > kNegligible;
      if (line.has_rab) {
        line.rab = delta / std::sqrt(piA * piB);
        r2_sum += line.rab * line.rab * pA * pB;
      }
      const long double delta_max =
          delta >= 0.0L ? std::min((1.0L - pA) * pB, (1.0L - pB) * pA) : std::min((1.0L - pA) * (1.0L - pB), pA * pB);
      line.has_delta_prime = delta_max > kNegligible;
      if (line.has_delta_prime) {
        line.delta_prime = delta / (2.0L * delta_max);
        dp_sum += std::fabs(line.delta_prime) * pA * pB;
      }
      if (observer.wants_allele_pairs()) {
        line.a = a;
        line.b = b;
        line.pA = pA;
        line.pB = pB;
        line.piA = piA;
        line.piB = piB;
        line.nAB = nAB;
        line.delta_corrected = delta * n / (n - 1);
        observer.allele_pair(s, l1, l2, line);
      }
    }
  }
  result.delta_prime = dp_sum;
  result.r2 = r2_sum;
}

}  // namespace

LdPairResult ld_pair_stat(const LdGenotypes& lg, int s, int l1, int l2, LdTable& table,
                          LdEstimatorScratch& sc, LdPairObserver& observer) {
  LdPairResult result;
  const long double g = table.count(lg, s, l1, l2);
  const Margins m = table_margins(table, sc);
  if (2 * m.sum_r != 2 * m.sum_c) observer.gamete_counts_differ();
  result.n = static_cast<int>(m.sum_r);
  result.testable = m.cells > 1 && m.rows_used > 1 && m.cols_used > 1;
  if (result.testable && observer.wants_table()) observer.table(s, l1, l2, table);

  allele_copies(lg, s, l1, sc.row_total, table.rows(), sc.n_a, sc.hom_a);
  allele_copies(lg, s, l2, sc.col_total, table.cols(), sc.n_b, sc.hom_b);
  if (!result.testable) return result;
  result.g = g;
  composite_counts(lg, s, l1, l2, table, sc);
  allele_pair_sums(lg, s, l1, l2, sc, observer, result);
  return result;
}

}  // namespace torvi
