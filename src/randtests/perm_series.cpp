#include "randtests/perm_series.h"

#include "randtests/rank_p_interval.h"
#include "util/sort_reals.h"

namespace torvi {

PermSeries::PermSeries(int64_t n, int nl)
    : n_(n), nl_(nl), total_(static_cast<size_t>(n)), per_locus_(static_cast<size_t>(n) * nl) {}

void PermSeries::store(int64_t k, long double total, const std::vector<long double>& per_locus) {
  store_total(k, total);
  for (int l = 1; l <= nl_; ++l) store_locus(k, l, per_locus[l]);
}

void PermSeries::finish(long double obs_total, const std::vector<long double>& obs_locus,
                        const std::vector<int32_t>& samples_at_locus) {
  store(n_, obs_total, obs_locus);
  sort_reals(total_.data(), 0, n_ - 1);
  for (int l = 1; l <= nl_; ++l)
    if (samples_at_locus[l] > 1) sort_reals(locus_series(l), 0, n_ - 1);
}

void PermSeries::write_lines(ReportText& out, const DataSet& ds, long double obs_total,
                             const std::vector<long double>& obs_locus,
                             const std::vector<int32_t>& samples_at_locus) const {
  for (int l = 1; l <= nl_; ++l)
    if (samples_at_locus[l] > 1 && is_value(obs_locus[l]))
      out.line(rank_p_line(ds.locus_names[l], rank_p_interval(locus_series(l), n_, obs_locus[l])));
  out.line(rank_p_line("All Loci", rank_p_interval(total_.data(), n_, obs_total)));
}

}  // namespace torvi
