#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/analysis.h"
#include "report/report_text.h"

namespace torvi {

// Fewest samples (over samples) or loci (over loci) a jackknife is formed with.
inline constexpr int kFewestForJackknife = 5;

// Jackknife estimates of F, theta, f and the relatedness (na_value where the
// relatedness cannot be formed) and their standard errors.
struct Jackknifed {
  long double est[4];
  long double se[4];
};
struct LocusJackknife {
  int locus;
  Jackknifed values;
};
struct JackknifeResult {
  std::optional<std::vector<LocusJackknife>> over_samples;  // when there are enough samples
  std::optional<Jackknifed> over_loci;                      // when there are enough loci
};

// Jackknife over samples (first..last) and over loci, from the components
// wc_components left (n̄, p̄, h̄, which it leaves as they are).
JackknifeResult compute_jackknife(const Analysis& an, int first, int last);
void write_jackknife(const JackknifeResult& r, const DataSet& ds, const std::string& result_name);
void jackknife_report(RunContext& ctx, Analysis& an, int first, int last);

// The jackknife over samples of each locus where it can be formed, and the
// block that lists them, appended to `out`.
std::vector<LocusJackknife> jackknife_over_samples(const Analysis& an, int first, int last);
void jackknife_samples(const Analysis& an, int first, int last, ReportText& out);

}  // namespace torvi
