#include "stats/pairwise_fst.h"

#include <vector>

#include "data/limits.h"
#include "report/report_text.h"
#include "stats/pair_components.h"
#include "util/parallel.h"

namespace torvi {

namespace {

std::string cell(long double v) { return fixed(v, 7, 4); }

}  // namespace

void pairwise_fst(const Analysis& an, int threads) {
  const int np = an.ds.np;
  // M[i][j], 1-based: TOT below the diagonal and SA above it, later theta.
  std::vector<long double> M(static_cast<size_t>(np + 1) * (np + 1), na_value);
  auto m = [&](int i, int j) -> long double& { return M[static_cast<size_t>(i) * (np + 1) + j]; };

  // Pairs are independent and each sums its loci in order: they are shared
  // evenly among the threads, in the order of the upper triangle.
  const PairComponents components(an.ct);
  const int64_t pairs = static_cast<int64_t>(np) * (np - 1) / 2;
  parallel_shares(threads, pairs, [&](int64_t begin, int64_t end, int) {
    int s = 1;
    int64_t row_first = 0;  // index of pair (s, s + 1)
    while (row_first + (np - s) <= begin) row_first += np - s++;
    int t = s + 1 + static_cast<int>(begin - row_first);
    for (int64_t k = begin; k < end; ++k) {
      const PairSums p = components.sums(s, t);
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
