#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "regress/regression_model.h"
#include "torvi/regress.h"

namespace torvi::regress {

// Randomisation counts, each starting at 1 for the observed data set.
struct Counts {
  std::vector<int64_t> beta, ss;
  int64_t err = 1;
  explicit Counts(int m = 0) : beta(static_cast<size_t>(m), 1), ss(static_cast<size_t>(m), 1) {}
  void add(const Counts& other);
};

// sign(beta) x sqrt(SS/SST), the (partial) correlation of an explanatory
// variable: nothing when SST = 0, 0 when rounding left SS negative.
std::optional<long double> partial_correlation(float ss, float beta, float sst);

// Percent of the variance explained by the model; nothing when SST = 0.
std::optional<long double> percent_explained(float sst, float rss);

// A counter (the observed data set counted) divided by R, in single
// precision like the counter.
float counter_p_value(int64_t count, int randomisations);

// The head of a report: the number of randomisations R (data sets counting
// the observed one) and, for distance matrices, the number of objects
// (0 otherwise).
std::string report_head(int randomisations, int objects);

// The observed fit: total sum of squares, correlations, coefficients, sums of
// squares, error sum of squares and R_squared.
std::string report_observed(const std::string& dep_name, const std::vector<std::string>& expl_names,
                            const Fit& observed, float sst);

// The P-values after the randomisations, and the closing line.
std::string report_tail(const std::vector<std::string>& expl_names, const Counts& counts, int randomisations);

// The ".res" file: estimate and residual of every row.
std::string residual_file(const Residuals& res);

}  // namespace torvi::regress
