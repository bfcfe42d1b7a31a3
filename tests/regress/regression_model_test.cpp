#include "regress/regression_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "regress/regress_fixture.h"

namespace torvi::regress {
namespace {

using testing::column;
using testing::sample_table;

struct Sums {
  long double sxx = 0, sxy = 0, syy = 0;
};

// Centred cross sums of two columns, in extended precision from the raw values.
Sums centred_sums(const std::vector<float>& x, const std::vector<float>& y) {
  long double mx = 0, my = 0;
  for (size_t r = 0; r < x.size(); ++r) mx += x[r], my += y[r];
  mx /= x.size();
  my /= y.size();
  Sums s;
  for (size_t r = 0; r < x.size(); ++r) {
    s.sxx += (x[r] - mx) * (x[r] - mx);
    s.sxy += (x[r] - mx) * (y[r] - my);
    s.syy += (y[r] - my) * (y[r] - my);
  }
  return s;
}

TEST(RegressionModel, CentringSubtractsEachColumnsMean) {
  const std::vector<float> t = {1, 10, 100, 2, 20, 200, 6, 60, 600};
  const Model model = centred_model(t, 3, 3, 2, {0, 1});
  EXPECT_EQ(model.y_mean, 300.0f);
  EXPECT_EQ(model.x_means, (std::vector<float>{3, 30}));
  EXPECT_EQ(model.y, (std::vector<float>{-200, -100, 300}));
  EXPECT_EQ(model.x, (std::vector<float>{-2, -20, -1, -10, 3, 30}));
}

TEST(RegressionModel, OneVariableGivesTheLeastSquaresSlopeAndItsSumOfSquares) {
  const std::vector<float> t = sample_table(300, 2);
  const Model model = centred_model(t, 300, 2, 1, {0});
  FitCache cache;
  ASSERT_FALSE(build_cache(model, cache));
  const Fit f = fit(model, cache, model.y.data());

  const Sums s = centred_sums(column(t, 2, 0), column(t, 2, 1));
  const double tol = 1e-4;
  EXPECT_NEAR(f.beta[0], static_cast<double>(s.sxy / s.sxx), tol * std::fabs(static_cast<double>(s.sxy / s.sxx)));
  EXPECT_NEAR(cache.sst, static_cast<double>(s.syy), tol * static_cast<double>(s.syy));
  EXPECT_NEAR(f.ss[0], static_cast<double>(s.sxy * s.sxy / s.sxx), tol * static_cast<double>(s.syy));
  EXPECT_NEAR(f.rss + f.ss[0], cache.sst, tol * cache.sst);
}

// Two variables: the full model's coefficients solve the normal equations,
// SS[1] is what the first variable explains alone, SS[2] the rest.
TEST(RegressionModel, NestedModelsGiveSequentialSumsOfSquares) {
  const std::vector<float> t = sample_table(400, 3, 7);
  const Model model = centred_model(t, 400, 3, 2, {0, 1});
  FitCache cache;
  ASSERT_FALSE(build_cache(model, cache));
  const Fit f = fit(model, cache, model.y.data());

  const Sums s11 = centred_sums(column(t, 3, 0), column(t, 3, 0));
  const Sums s12 = centred_sums(column(t, 3, 0), column(t, 3, 1));
  const Sums s1y = centred_sums(column(t, 3, 0), column(t, 3, 2));
  const Sums s2y = centred_sums(column(t, 3, 1), column(t, 3, 2));
  const long double a = s11.sxx, b = s12.sxy, c = s12.syy, p = s1y.sxy, q = s2y.sxy;
  const long double det = a * c - b * b;
  const long double beta1 = (c * p - b * q) / det, beta2 = (a * q - b * p) / det;
  EXPECT_NEAR(f.beta[0], static_cast<double>(beta1), 1e-4 * std::fabs(static_cast<double>(beta1)));
  EXPECT_NEAR(f.beta[1], static_cast<double>(beta2), 1e-4 * std::fabs(static_cast<double>(beta2)));

  const long double explained_by_first = p * p / a;
  const long double explained_by_both = beta1 * p + beta2 * q;
  const double sst = static_cast<double>(s1y.syy);
  EXPECT_NEAR(f.ss[0], static_cast<double>(explained_by_first), 1e-4 * sst);
  EXPECT_NEAR(f.ss[1], static_cast<double>(explained_by_both - explained_by_first), 1e-4 * sst);
  EXPECT_NEAR(f.rss, sst - static_cast<double>(explained_by_both), 1e-4 * sst);
}

TEST(RegressionModel, ConstantOrDependentColumnsAreSingular) {
  // Column 0 constant; column 2 = 2 x column 1; column 3 the response.
  std::vector<float> t;
  const std::vector<float> base = sample_table(20, 2, 3);
  for (int r = 0; r < 20; ++r) {
    const float v = base[r * 2], y = base[r * 2 + 1];
    t.insert(t.end(), {5.0f, v, 2.0f * v, y});
  }
  FitCache cache;
  EXPECT_EQ(build_cache(centred_model(t, 20, 4, 3, {0, 1}), cache).value_or(""),
            "  0.000000Singular matrix!. Exiting.");
  EXPECT_EQ(build_cache(centred_model(t, 20, 4, 3, {1, 0}), cache).value_or(""), "Singular matrix!. Exiting");
  EXPECT_EQ(build_cache(centred_model(t, 20, 4, 3, {1, 2}), cache).value_or(""), "Singular matrix!. Exiting");
}

TEST(RegressionModel, ResidualsAreTheResponseLessTheFullModel) {
  const std::vector<float> t = sample_table(50, 3, 11);
  const Model model = centred_model(t, 50, 3, 0, {2, 1});
  FitCache cache;
  ASSERT_FALSE(build_cache(model, cache));
  const Fit f = fit(model, cache, model.y.data());
  const Residuals res = residuals(model, f);
  long double rss = 0;
  for (int r = 0; r < 50; ++r) {
    const long double estimate = static_cast<long double>(f.beta[0]) * model.xv(r, 0) + f.beta[1] * model.xv(r, 1);
    EXPECT_NEAR(res.estimate[r], static_cast<double>(estimate), 1e-4);
    EXPECT_NEAR(res.residual[r], model.y[r] - static_cast<double>(estimate), 1e-4);
    rss += static_cast<long double>(res.residual[r]) * res.residual[r];
  }
  EXPECT_NEAR(static_cast<double>(rss), f.rss, 1e-5 * f.rss);
}

}  // namespace
}  // namespace torvi::regress
