#include "stats/pairwise_fst.h"

#include <utility>
#include <vector>

#include "model/limits.h"
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
  // evenly among the threads, in the order of the upper triangle. Each
  // thread takes its pairs locus by locus, so that the counts of one locus
  // and the tables of its sample sizes stay in cache.
  const PairComponents components(an.ct);
  std::vector<std::pair<int, int>> pairs;
  for (int s = 1; s <= np; ++s)
    for (int t = s + 1; t <= np; ++t) pairs.emplace_back(s, t);
  std::vector<PairSums> sums(pairs.size());
  parallel_shares(threads, static_cast<int64_t>(pairs.size()), [&](int64_t begin, int64_t end, int) {
    for (int l = 1; l <= an.ds.nl; ++l) {
      for (int64_t k = begin; k < end; ++k) components.add_locus(pairs[k].first, pairs[k].second, l, sums[k]);
    }
  });
  for (size_t k = 0; k < pairs.size(); ++k) {
    const auto [s, t] = pairs[k];
    m(t, s) = sums[k].tot;
    m(s, t) = sums[k].sa;
  }

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
