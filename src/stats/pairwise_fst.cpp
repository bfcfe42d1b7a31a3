#include "stats/pairwise_fst.h"

#include <vector>

#include "data/limits.h"
#include "report/report_text.h"
#include "util/parallel.h"

namespace torvi {

namespace {

struct PairSums {
  long double tot = 0;  // Σ(a+b+c) over loci and alleles
  long double sa = 0;   // Σa
};

// What a sample brings to the components of any pair, per allele slot: n p,
// n p p and n h, formed once instead of once per pair (the same products, so
// the same values).
struct SampleTerms {
  std::vector<long double> np, npp, nh;  // laid out like the count tables

  explicit SampleTerms(const CountTables& ct)
      : np(ct.allele_count.size()), npp(ct.allele_count.size()), nh(ct.allele_count.size()) {
    for (int s = 1; s <= ct.np; ++s)
      for (int l = 1; l <= ct.nl; ++l) {
        const long double n = ct.typed(s, l);
        const size_t row = ct.row(s, l);
        for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) {
          np[row + j] = n * ct.allele_count[row + j];
          npp[row + j] = np[row + j] * ct.allele_count[row + j];
          nh[row + j] = n * ct.het_allele_count[row + j];
        }
      }
  }
};

// Weir & Cockerham components of samples s and t alone, summed over the loci
// where both have more than one typed individual. No allele is left out and
// no small component is set to 0; an allele absent from both samples adds
// exactly 0 and is passed over.
PairSums pair_sums(const CountTables& ct, const SampleTerms& terms, int s, int t) {
  const AlleleIndex& ix = *ct.index;
  PairSums out;
  for (int l = 1; l <= ct.nl; ++l) {
    const int32_t ns_i = ct.typed(s, l), nt_i = ct.typed(t, l);
    if (ns_i <= 1 || nt_i <= 1) continue;
    const long double ns = ns_i, nt = nt_i;
    const long double nbar = (ns + nt) / 2;
    const long double two_nbar = 2 * nbar, nbar_less_1 = nbar - 1;
    const long double nc = two_nbar - (ns * ns + nt * nt) / two_nbar;
    const long double h_scale = 2 * nbar - 1, h_divisor = 4 * nbar;
    const size_t rs = ct.row(s, l), rt = ct.row(t, l);
    const long double *Ps = &terms.np[rs], *Pt = &terms.np[rt];
    const long double *Qs = &terms.npp[rs], *Qt = &terms.npp[rt];
    const long double *Hs = &terms.nh[rs], *Ht = &terms.nh[rt];
    long double tot = 0, sa = 0;
    for (int j = 0, k = ix.alleles_at_locus(l); j < k; ++j) {
      if (Ps[j] == 0 && Pt[j] == 0) continue;
      const long double pm = (Ps[j] + Pt[j]) / two_nbar;
      const long double s2 = (Qs[j] + Qt[j] - two_nbar * pm * pm) / nbar;
      const long double hm = (Hs[j] + Ht[j]) / two_nbar;
      const long double q = pm * (1 - pm) - s2 / 2;
      const long double a = nbar * (s2 - (q - hm / 4) / nbar_less_1) / nc;
      const long double b = nbar * (q - h_scale * hm / h_divisor) / nbar_less_1;
      const long double c = hm / 2;
      tot += a + b + c;
      sa += a;
    }
    out.tot += tot;
    out.sa += sa;
  }
  return out;
}

std::string cell(long double v) { return fixed(v, 7, 4); }

}  // namespace

void pairwise_fst(const Analysis& an, int threads) {
  const int np = an.ds.np;
  // M[i][j], 1-based: TOT below the diagonal and SA above it, later theta.
  std::vector<long double> M(static_cast<size_t>(np + 1) * (np + 1), na_value);
  auto m = [&](int i, int j) -> long double& { return M[static_cast<size_t>(i) * (np + 1) + j]; };

  // Pairs are independent and each sums its loci in order: they are shared
  // evenly among the threads, in the order of the upper triangle.
  const SampleTerms terms(an.ct);
  const int64_t pairs = static_cast<int64_t>(np) * (np - 1) / 2;
  parallel_shares(threads, pairs, [&](int64_t begin, int64_t end, int) {
    int s = 1;
    int64_t row_first = 0;  // index of pair (s, s + 1)
    while (row_first + (np - s) <= begin) row_first += np - s++;
    int t = s + 1 + static_cast<int>(begin - row_first);
    for (int64_t k = begin; k < end; ++k) {
      const PairSums p = pair_sums(an.ct, terms, s, t);
      m(t, s) = p.tot;
      m(s, t) = p.sa;
      if (++t > np) t = ++s + 1;
    }
  });

  ReportText mat;
  for (int i = 1; i <= np; ++i) {
    for (int j = 1; j < i; ++j) mat.cell(cell(m(i, j)));
    mat << col_sep;
    mat.eol();
  }
  for (int i = 1; i <= np; ++i) {
    for (int j = 1; j < i; ++j) mat.cell(cell(m(j, i)));
    mat << col_sep;
    mat.eol();
  }
  mat.write_new(an.base_name + ".mat");

  for (int s = 1; s <= np; ++s)
    for (int t = s + 1; t <= np; ++t) {
      const long double tot = m(t, s);
      m(s, t) = tot > 0 ? m(s, t) / tot : na_value;
      m(t, s) = m(s, t);
    }
  for (int s = 1; s <= np; ++s) m(s, s) = 0;

  ReportText fst;
  for (int i = 1; i <= np; ++i) {
    for (int j = 1; j <= np; ++j) fst.cell(m(i, j) > -1 ? cell(m(i, j)) : kNA7);
    fst.eol();
  }
  fst.write_new(an.base_name + ".fst");
}

}  // namespace torvi
