#include "regress/lane_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "random/rng.h"
#include "regress/regress_fixture.h"
#include "regress/shuffles.h"
#include "regress/single_arith.h"

namespace torvi::regress {
namespace {

// Fits four shuffles of the model's response side by side and one by one;
// every stored value must agree to the last bit.
void expect_lanes_equal_single_fits(const Model& model, uint32_t seed) {
  FitCache cache;
  ASSERT_FALSE(build_cache(model, cache));
  Rng rng(static_cast<int32_t>(seed), 4711);
  std::vector<std::vector<float>> responses;
  std::vector<double> interleaved(static_cast<size_t>(model.n) * kLanes);
  std::vector<float> y = model.y;
  for (int l = 0; l < kLanes; ++l) {
    if (l > 0) permute_vector(rng, y.data(), model.n);
    responses.push_back(y);
    for (int64_t r = 0; r < model.n; ++r) interleaved[r * kLanes + l] = y[r];
  }
  LaneResult out[kLanes];
  fit_lanes(WideModel(model), cache, interleaved.data(), out);
  for (int l = 0; l < kLanes; ++l) {
    const Fit f = fit(model, cache, responses[l].data());
    EXPECT_EQ(out[l].rss, f.rss) << "lane " << l;
    for (int k = 0; k < model.m; ++k) {
      EXPECT_EQ(out[l].beta[k], f.beta[k]) << "lane " << l << " variable " << k;
      EXPECT_EQ(out[l].ss[k], f.ss[k]) << "lane " << l << " variable " << k;
    }
  }
}

TEST(LaneFit, EqualsTheRowByRowFitForAnyNumberOfVariables) {
  for (int m : {1, 2, 3, 4, 7, 24}) {
    const std::vector<float> t = testing::sample_table(150, m + 1, static_cast<uint32_t>(m));
    std::vector<int> expl;
    for (int j = 1; j <= m; ++j) expl.push_back(j);
    SCOPED_TRACE(m);
    expect_lanes_equal_single_fits(centred_model(t, 150, m + 1, 0, expl), 17u + static_cast<uint32_t>(m));
  }
}

TEST(LaneFit, EqualsTheRowByRowFitOnLargeAndTinyValues) {
  std::vector<float> t = testing::sample_table(120, 3, 5);
  for (size_t i = 0; i < t.size(); i += 3) t[i] *= 1e7f;
  for (size_t i = 1; i < t.size(); i += 3) t[i] *= 1e-6f;
  expect_lanes_equal_single_fits(centred_model(t, 120, 3, 0, {1, 2}), 99u);
}

// Sums that are exactly zero, or too small or too large for a normal
// single, are taken the extended way.
TEST(LaneFit, EqualsTheRowByRowFitOnZerosAndValuesOutsideTheNormalRange) {
  std::vector<float> t = testing::sample_table(200, 3, 8);
  for (size_t i = 0; i < t.size(); i += 3) t[i] *= 1e-22f;   // products near the smallest singles
  for (size_t i = 1; i < t.size(); i += 3) t[i] *= 1e15f;    // sums of squares near the largest
  Model model = centred_model(t, 200, 3, 0, {1, 2});
  for (int64_t r = 0; r < 200; r += 3) model.x[static_cast<size_t>(r) * 2 + 1] = 0;
  for (int64_t r = 0; r < 40; ++r) model.y[static_cast<size_t>(r)] = 0;
  expect_lanes_equal_single_fits(model, 5u);
}

// 1 + (4097/4096) x (16773121 x 2^-48) = 1 + 2^-24 + 2^-60 exactly: in double
// the sum rounds to the halfway point 1 + 2^-24 and then to 1; the
// extended-precision sum keeps the 2^-60 and rounds up to 1 + 2^-23.
TEST(LaneFit, SumsNearHalfwayBetweenSinglesTakeTheExtendedRoute) {
  const float a = 4097.0f / 4096.0f, b = std::ldexp(16773121.0f, -48);
  ASSERT_EQ(add_product(1.0f, a, b), 1.0f + std::ldexp(1.0f, -23));
  ASSERT_EQ(static_cast<float>(1.0 + static_cast<double>(a) * b), 1.0f);

  Model model;
  model.n = 3;
  model.m = 1;
  model.x = {1.0f, a, -0.5f};
  model.y = {1.0f, b, 0.25f};
  FitCache cache;
  ASSERT_FALSE(build_cache(model, cache));
  std::vector<double> interleaved;
  for (float v : model.y) interleaved.insert(interleaved.end(), kLanes, v);
  LaneResult out[kLanes];
  fit_lanes(WideModel(model), cache, interleaved.data(), out);
  const Fit f = fit(model, cache, model.y.data());
  for (const LaneResult& r : out) {
    EXPECT_EQ(r.beta[0], f.beta[0]);
    EXPECT_EQ(r.rss, f.rss);
  }
}

}  // namespace
}  // namespace torvi::regress
