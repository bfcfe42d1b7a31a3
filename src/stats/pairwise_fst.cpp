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

// Weir & Cockerham components of samples s and t alone, summed over the loci
// where both have more than one typed individual. No allele is left out and
// no small component is set to 0.
PairSums pair_sums(const CountTables& ct, int s, int t) {
  const AlleleIndex& ix = *ct.index;
  PairSums out;
  for (int l = 1; l <= ct.nl; ++l) {
    const int32_t ns_i = ct.typed(s, l), nt_i = ct.typed(t, l);
    if (ns_i <= 1 || nt_i <= 1) continue;
    const long double ns = ns_i, nt = nt_i;
    const long double nbar = (ns + nt) / 2;
    const long double nc = 2 * nbar - (ns * ns + nt * nt) / (2 * nbar);
    const long double *ps = ct.allele_row(s, l), *pt = ct.allele_row(t, l);
    const long double *hs = ct.het_row(s, l), *ht = ct.het_row(t, l);
    long double tot = 0, sa = 0;
    for (int j = 0; j < ix.alleles_at_locus(l); ++j) {
      const long double pm = (ns * ps[j] + nt * pt[j]) / (2 * nbar);
      const long double s2 = (ns * ps[j] * ps[j] + nt * pt[j] * pt[j] - 2 * nbar * pm * pm) / nbar;
      const long double hm = (ns * hs[j] + nt * ht[j]) / (2 * nbar);
      const long double q = pm * (1 - pm) - s2 / 2;
      const long double a = nbar * (s2 - (q - hm / 4) / (nbar - 1)) / nc;
      const long double b = nbar * (q - (2 * nbar - 1) * hm / (4 * nbar)) / (nbar - 1);
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

  // Rows s of the upper triangle are independent; each pair sums its loci in order.
  parallel_shares(threads, np - 1, [&](int64_t begin, int64_t end, int) {
    for (int64_t row = begin; row < end; ++row) {
      const int s = static_cast<int>(row) + 1;
      for (int t = s + 1; t <= np; ++t) {
        const PairSums p = pair_sums(an.ct, s, t);
        m(t, s) = p.tot;
        m(s, t) = p.sa;
      }
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
