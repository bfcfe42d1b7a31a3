#include "regress/mantel_report.h"

#include <cmath>

#include "report/fixed_format.h"
#include "report/report_text.h"

namespace torvi::regress {

namespace {

constexpr int kRandomisationsWidth = 6, kObjectsWidth = 4;
constexpr int kSumWidth = 10, kSumDecimals = 4;
constexpr int kCorrWidth = 20, kBetaWidth = 15, kSsWidth = 15, kCoefDecimals = 6;
constexpr int kPercentWidth = 10, kPercentDecimals = 2;
constexpr int kPWidth = 10, kPDecimals = 6;
constexpr int kResWidth = 20, kResDecimals = 6;
constexpr size_t kWideRule = 60, kNarrowRule = 30, kClosingStars = 67;
constexpr const char* kNA = "NA";

std::string correlation(float ss, float beta, float sst) {
  const std::optional<long double> r = partial_correlation(ss, beta, sst);
  return r ? fixed(*r, kCorrWidth, kCoefDecimals) : right(kNA, kCorrWidth);
}

std::string r_squared(float sst, float rss) {
  const std::optional<long double> explained = percent_explained(sst, rss);
  return explained ? fixed(*explained, kPercentWidth, kPercentDecimals) : right(kNA, kPercentWidth);
}

std::string p_value(int64_t count, int randomisations) {
  return fixed(counter_p_value(count, randomisations), kPWidth, kPDecimals);
}

}  // namespace

std::optional<long double> partial_correlation(float ss, float beta, float sst) {
  if (sst == 0.0f) return std::nullopt;
  const long double share = static_cast<long double>(ss) / sst;
  const long double r = share > 0 ? std::sqrt(share) : 0.0L;
  return beta >= 0 ? r : -r;
}

std::optional<long double> percent_explained(float sst, float rss) {
  if (sst == 0.0f) return std::nullopt;
  return (static_cast<long double>(sst) - rss) * 100 / sst;
}

float counter_p_value(int64_t count, int randomisations) {
  return static_cast<float>(static_cast<long double>(count) / randomisations);
}

void Counts::add(const Counts& other) {
  for (size_t k = 0; k < beta.size(); ++k) {
    beta[k] += other.beta[k];
    ss[k] += other.ss[k];
  }
  err += other.err;
}

std::string opening_lines(const std::string& title, const std::string& input_path) {
  ReportText t;
  t.line(title).line("data from the file : " + input_path);
  return t.str();
}

std::string report_head(int randomisations, int objects) {
  ReportText t;
  t.line().line("P-values are given after " + integer(randomisations, kRandomisationsWidth) + " randomizations.");
  if (objects > 0) t.line("randomizations on rows and columns of the " + integer(objects, kObjectsWidth) + " matrix.");
  t.line();
  return t.str();
}

std::string report_observed(const std::string& dep_name, const std::vector<std::string>& expl_names,
                            const Fit& observed, float sst) {
  ReportText t;
  t.line().line("The total sum of square for variable " + dep_name + " is :" + fixed(sst, kSumWidth, kSumDecimals));
  t.line();
  t.line(
      "  Correlation (Partial if # expl. variables > 1), Coefficient (Beta) and Sum of squares (SS) for the "
      "observed data:");
  t.line("  Variable     (Partial) Corr.           Beta             SS");
  t.line(std::string(kWideRule, '-'));
  for (size_t k = 0; k < expl_names.size(); ++k)
    t.line(expl_names[k] + correlation(observed.ss[k], observed.beta[k], sst) +
           fixed(observed.beta[k], kBetaWidth, kCoefDecimals) + fixed(observed.ss[k], kSsWidth, kSumDecimals));
  t.line(std::string(kWideRule, '-'));
  t.line("Error sum of squares: " + fixed(observed.rss, kSumWidth, kSumDecimals)).line();
  t.line("Percent of the variance explained by the model (R_squared): " + r_squared(sst, observed.rss));
  return t.str();
}

std::string report_tail(const std::vector<std::string>& expl_names, const Counts& counts, int randomisations) {
  ReportText t;
  t.line().line("P-value for absolute regression coefficients (2-sided) P(Beta)");
  t.line(" and p-value for extra sums of squares P(SS)").line();
  t.line("  Variable   P(Beta)     P(SS)").line(std::string(kNarrowRule, '-'));
  for (size_t k = 0; k < expl_names.size(); ++k)
    t.line(expl_names[k] + p_value(counts.beta[k], randomisations) + p_value(counts.ss[k], randomisations));
  t.line(std::string(kNarrowRule, '-'));
  t.line("P-value for the error sum of square" + p_value(counts.err, randomisations)).line();
  t.line(std::string(kClosingStars, '*')).line();
  return t.str();
}

std::string residual_file(const Residuals& res) {
  ReportText t;
  t.line("            estimates          residuals");
  for (size_t r = 0; r < res.estimate.size(); ++r)
    t.line(fixed(res.estimate[r], kResWidth, kResDecimals) + fixed(res.residual[r], kResWidth, kResDecimals));
  return t.str();
}

}  // namespace torvi::regress
