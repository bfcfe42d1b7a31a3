#include "regress/randomisations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "regress/regress_fixture.h"
#include "regress/shuffles.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi::regress {
namespace {

struct Case {
  Model model;
  FitCache cache;
  Fit observed;
};

Case make_case(int64_t n, int m, uint32_t salt) {
  const std::vector<float> t = testing::sample_table(n, m + 1, salt);
  std::vector<int> expl(m);
  std::iota(expl.begin(), expl.end(), 1);
  Case c{centred_model(t, n, m + 1, 0, expl), {}, {}};
  EXPECT_FALSE(build_cache(c.model, c.cache));
  c.observed = fit(c.model, c.cache, c.model.y.data());
  return c;
}

// The counts the description gives: one shuffle after another from one
// stream (the matrix unpacked, permuted and packed each time), each fitted
// row by row.
Counts one_by_one(const Case& c, int randomisations, int objects, Rng& rng) {
  Counts counts(c.model.m);
  std::vector<float> y = c.model.y;
  for (int t = 2; t <= randomisations; ++t) {
    if (objects > 0)
      y = testing::unpack_permute_pack(rng, y, objects);
    else
      permute_vector(rng, y.data(), c.model.n);
    const Fit f = fit(c.model, c.cache, y.data());
    counts.err += f.rss <= c.observed.rss;
    for (int k = 0; k < c.model.m; ++k) {
      counts.beta[k] += std::fabs(f.beta[k]) >= std::fabs(c.observed.beta[k]);
      counts.ss[k] += f.ss[k] >= c.observed.ss[k];
    }
  }
  return counts;
}

void expect_same(const Counts& a, const Counts& b) {
  EXPECT_EQ(a.err, b.err);
  EXPECT_EQ(a.beta, b.beta);
  EXPECT_EQ(a.ss, b.ss);
}

TEST(Randomisations, CountsAndStreamMatchOneByOneFitsWithAnyThreadCount) {
  for (int objects : {0, 14}) {
    SCOPED_TRACE(objects);
    const Case c = make_case(objects ? triangle_cells(objects) : 77, 3, 5);
    const int randomisations = 203;  // batches end with a partial group of lanes
    Rng expected_rng(12345, 67890);
    const Counts expected = one_by_one(c, randomisations, objects, expected_rng);
    for (int threads : torvi::testing::kThreadCounts) {
      SCOPED_TRACE(threads);
      Rng rng(12345, 67890);
      torvi::testing::ScriptedHost host;
      const Counts got = randomise({c.model, c.cache, c.observed, randomisations, objects, threads}, rng, host);
      expect_same(got, expected);
      EXPECT_EQ(rng, expected_rng);
      EXPECT_EQ(host.progress_steps, randomisations - 1);
      EXPECT_EQ(host.progress_ranges, std::vector<int64_t>{randomisations - 1});
      EXPECT_EQ(host.progress_ends, 1);
    }
  }
}

// Shuffled rows: the size of the responses sets how many randomisations a
// batch holds; many small batches must chain.
TEST(Randomisations, LargeResponsesSpanSeveralBatches) {
  const Case c = make_case(600, 1, 9);
  Rng expected_rng(7, 8);
  const Counts expected = one_by_one(c, 200, 0, expected_rng);
  Rng rng(7, 8);
  torvi::testing::ScriptedHost host;
  RandomisationSetup setup{c.model, c.cache, c.observed, 200, 0, 2};
  setup.batch_values = 3000;  // five randomisations: four in a batch
  expect_same(randomise(setup, rng, host), expected);
  EXPECT_EQ(rng, expected_rng);
}

TEST(Randomisations, StopRequestEndsTheRandomisations) {
  const Case c = make_case(triangle_cells(30), 2, 3);
  Rng rng(1, 2);
  torvi::testing::ScriptedHost host;
  host.stop_after_steps = 1;
  EXPECT_THROW(randomise({c.model, c.cache, c.observed, 20000, 30, 2}, rng, host), RunCancelled);
  EXPECT_LT(host.progress_steps, 20000 - 1);
  EXPECT_EQ(host.progress_ends, 1);
}

}  // namespace
}  // namespace torvi::regress
