#pragma once

#include <cstdint>
#include <vector>

#include "model/analysis.h"
#include "report/report_text.h"

namespace torvi {

// Analysis of variance of allele sizes at one locus (raw or standardised).
struct SizeComponents {
  long double siga = 0, sigb = 0, sigw = 0;
  long double sum() const { return siga + sigb + sigw; }
};

// A locus with size variation and degrees of freedom left.
struct RstLocus {
  int l = 0;
  long double amean = 0, astdev = 0;  // allele sizes
  SizeComponents raw, z;               // raw and standardised sizes
  bool has_rst = false;                // the raw components do not sum to zero
};

// Rho_st over all samples: the counted loci in order, and their totals.
struct RstResult {
  std::vector<RstLocus> loci;
  SizeComponents raw_total, z_total;
  long double rst_sum = 0;  // Rho_st of the loci that have one
};

RstResult compute_rst(const DataSet& ds, const CountTables& ct, const std::vector<int32_t>& samples_at_locus);
void write_rst(const RstResult& result, const DataSet& ds, ReportText& out);

// The Rho_st section, appended to the result file.
void rst_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
