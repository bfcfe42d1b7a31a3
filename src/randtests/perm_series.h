#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/data_set.h"
#include "report/report_text.h"

namespace torvi {

// The values of one statistic over the N data sets of a test, over loci and
// per locus: slots 1..N-1 for the randomisations in order, slot N for the
// observed data set. Each randomisation writes only its own slot, so workers
// may fill different slots at once.
class PermSeries {
 public:
  PermSeries(int64_t n, int nl);

  void store(int64_t k, long double total, const std::vector<long double>& per_locus);
  void store_total(int64_t k, long double total) { total_[static_cast<size_t>(k - 1)] = total; }
  void store_locus(int64_t k, int l, long double value) { locus_series(l)[k - 1] = value; }

  // Puts the observed values in slot N and sorts the series over loci and
  // those of the loci with data in more than one sample.
  void finish(long double obs_total, const std::vector<long double>& obs_locus,
              const std::vector<int32_t>& samples_at_locus);

  // One rank_p_interval line per locus with data in more than one sample and
  // an observed value, then the line of "All Loci".
  void write_lines(ReportText& out, const DataSet& ds, long double obs_total,
                   const std::vector<long double>& obs_locus, const std::vector<int32_t>& samples_at_locus) const;

 private:
  long double* locus_series(int l) { return &per_locus_[static_cast<size_t>(l - 1) * n_]; }
  const long double* locus_series(int l) const { return &per_locus_[static_cast<size_t>(l - 1) * n_]; }

  int64_t n_;
  int nl_;
  std::vector<long double> total_;      // [0..N-1] holds slots 1..N
  std::vector<long double> per_locus_;  // locus by locus, N slots each
};

}  // namespace torvi
