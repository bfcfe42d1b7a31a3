#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "model/count_tables.h"
#include "model/data_set.h"
#include "model/g_state.h"
#include "model/perm_counts.h"
#include "model/run_options.h"
#include "model/wc_state.h"
#include "random/rng.h"

namespace torvi {

// What a Run command shares with every section it calls.
struct RunContext {
  Host& host;
  Rng& rng;
  const RunOptions& options;
  NbPerm& nb_perm;
  std::string result_name;  // the result file sections append to
  int threads = 1;          // worker threads for randomisations (results never depend on it)
};

// The state of the analysis of one data file: the data set, its count tables
// and what the sections leave for the ones after them.
struct Analysis {
  std::string base_name;  // data file path without ".dat"
  std::string data_path;  // the data file as given (its ".dat" may be in any case)
  DataSet ds;
  std::shared_ptr<const AlleleIndex> alleles;
  CountTables ct;
  WcState wc;
  GState g;
  // Fis of sample s at locus l: [s * (nl + 1) + l]; l = 0 holds the value over
  // loci. na_value where it cannot be computed. Kept for the tests within samples.
  std::vector<long double> fis_sample_locus;

  long double& fis(int s, int l) { return fis_sample_locus[static_cast<size_t>(s) * (ds.nl + 1) + l]; }
  long double fis(int s, int l) const { return fis_sample_locus[static_cast<size_t>(s) * (ds.nl + 1) + l]; }
};

}  // namespace torvi
