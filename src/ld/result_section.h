#pragma once

#include <cstdint>

#include "ld/test_state.h"
#include "model/data_set.h"
#include "model/run_options.h"
#include "report/report_text.h"

namespace torvi {

// The section of P-values for genotypic disequilibrium over N permutations,
// one line per pair of loci: a column per sample when the tests are asked
// in each sample, then the test over all samples.
ReportText ld_result_section(const RunOptions& opt, const DataSet& ds, const LdTestState& state, int64_t n_perm);

}  // namespace torvi
