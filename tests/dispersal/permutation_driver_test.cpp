#include "dispersal/permutation_driver.h"

#include <gtest/gtest.h>

#include <numeric>

#include "dispersal/dispersal_report.h"
#include "dispersal/set_fixture.h"
#include "report/fixed_format.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi::dispersal {
namespace {

TEST(WithinSamplePermutation, DrawsOncePerIndividualLastSampleFirst) {
  // Samples of 3, 0 and 2 individuals.
  const std::vector<int32_t> cumulative = {0, 3, 3, 5};
  std::vector<int32_t> order = {0, 1, 2, 3, 4};
  Rng rng(12345, 67890), probe = rng;
  permute_within_samples(order.data(), cumulative, rng);

  std::vector<int32_t> expected = {0, 1, 2, 3, 4};
  std::swap(expected[4], expected[3 + probe.rnd_int(2)]);
  EXPECT_EQ(probe.rnd_int(1), 0);  // the draw for the sample's first position
  std::swap(expected[2], expected[0 + probe.rnd_int(3)]);
  std::swap(expected[1], expected[0 + probe.rnd_int(2)]);
  probe.rnd_int(1);
  EXPECT_EQ(order, expected);
  EXPECT_EQ(rng, probe);
  EXPECT_EQ(rng, Rng(12345, 67890).jumped(5));
}

// Two samples with both sexes; phil sizes 2 and 1.
struct Fixture {
  IndexedSet pooled = index_alleles(torvi::testing::set_of(
      2, 2, {"1 0101 0102", "1 0102 0202", "1 0202 0101", "1 0303 0102", "2 0101 0202", "2 0303 0101", "2 0103 0000"}));
  CountTables tables = count_set(pooled);
  SampleTerms sample_terms{pooled.largest_sample()};
  AssignmentTerms terms = assignment_terms(pooled, tables);
  std::vector<int32_t> phil_sizes = {0, 2, 1};

  PermutationInput input(std::array<bool, kDispersalTestCount> ticked, int32_t n, int threads) const {
    PermutationInput in{&pooled, &tables, &sample_terms, &terms, phil_sizes, {ticked, false}, {}, n, threads};
    return in;
  }
  // The .per lines of a run, and the generator afterwards.
  std::string run(const PermutationInput& in, Rng& rng, torvi::testing::ScriptedHost& host) const {
    std::string lines;
    run_permutations(in, host, rng, [&](std::string_view text) { lines += text; });
    return lines;
  }
  std::string t_line(int64_t k, const std::vector<int32_t>& order) const {
    std::vector<long double> sums(2);
    const AssignmentStatistics a = assignment_statistics(terms, order.data(), phil_sizes, sums.data());
    return integer(k, 4) + fixed(*a.t, 8, 4) + "\r\n";
  }
};

TEST(PermutationRun, StartsFromTheFileOrderUnlessASetStatisticIsTicked) {
  const Fixture f;
  torvi::testing::ScriptedHost host;
  const int64_t ni = f.pooled.ni;
  // Assignment test alone: every permutation starts from the file's order.
  Rng rng(7, 8);
  std::string expected;
  for (int k = 1; k <= 4; ++k) {
    std::vector<int32_t> order(static_cast<size_t>(ni));
    std::iota(order.begin(), order.end(), 0);
    Rng at = Rng(7, 8).jumped(static_cast<uint64_t>((k - 1) * ni));
    permute_within_samples(order.data(), f.pooled.cumulative, at);
    expected += f.t_line(k, order);
  }
  EXPECT_EQ(f.run(f.input({true}, 5, 1), rng, host), expected);
  EXPECT_EQ(rng, Rng(7, 8).jumped(static_cast<uint64_t>(4 * ni)));

  // With Fst ticked too, each permutation continues from the previous one.
  Rng chained_rng(7, 8), replay(7, 8);
  std::vector<int32_t> order(static_cast<size_t>(ni));
  std::iota(order.begin(), order.end(), 0);
  std::string chained;
  for (int k = 1; k <= 4; ++k) {
    permute_within_samples(order.data(), f.pooled.cumulative, replay);
    chained += f.t_line(k, order).substr(0, 12);
  }
  std::string lines = f.run(f.input({true, false, true}, 5, 1), chained_rng, host), t_only;
  for (size_t at = 0; at < lines.size(); at = lines.find('\n', at) + 1) t_only += lines.substr(at, 12);
  EXPECT_EQ(t_only, chained);
}

TEST(PermutationRun, ThreadCountsGiveTheSameLinesAndStream) {
  const Fixture f;
  std::string first;
  Rng first_rng;
  for (int threads : torvi::testing::kThreadCounts) {
    torvi::testing::ScriptedHost host;
    Rng rng(99, 100);
    const std::string lines = f.run(f.input({true, true, true, true, true, true, true}, 1200, threads), rng, host);
    EXPECT_EQ(host.progress_steps, 1199);
    if (threads == 1) {
      first = lines;
      first_rng = rng;
    }
    EXPECT_EQ(lines, first) << threads << " threads";
    EXPECT_EQ(rng, first_rng) << threads << " threads";
  }
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1199);
}

TEST(PermutationRun, AStopKeepsWholeLinesOfTheFinishedPermutations) {
  const Fixture f;
  torvi::testing::ScriptedHost host;
  host.stop_after_steps = 1;
  Rng rng(3, 4);
  std::string lines;
  const PermutationCounts c =
      run_permutations(f.input({false, false, true}, 2000, 2), host, rng, [&](std::string_view t) { lines += t; });
  EXPECT_TRUE(c.cancelled);
  EXPECT_GT(c.done, 0);
  EXPECT_LT(c.done, 1999);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), c.done);
  EXPECT_EQ(lines.substr(lines.size() - 2), "\r\n");
}

TEST(PermutationRun, SamplesOfOneSexKeepTheirLabels) {
  // Sample 1 holds only philopatric individuals, sample 2 only others:
  // every permutation gives the observed values, and all count.
  const IndexedSet pooled = index_alleles(torvi::testing::set_of(2, 1, {"1 0101", "1 0102", "2 0202", "2 0103"}));
  const CountTables tables = count_set(pooled);
  const std::vector<int32_t> phil_sizes = {0, 2, 0};
  CountTables phil(2, 1, pooled.alleles()), disp(2, 1, pooled.alleles());
  phil.add(pooled, 0, 1);
  phil.add(pooled, 1, 1);
  disp.difference(tables, phil);
  TestChoice choice{{false, false, true, true, true, true, true}, false};
  TestValues observed;
  const SampleTerms terms(2);
  set_values(choice, set_statistics(phil, pooled.locus_first, terms), set_statistics(disp, pooled.locus_first, terms),
             observed);
  PermutationInput in{&pooled, &tables, &terms, nullptr, phil_sizes, choice, observed, 50, 2};
  torvi::testing::ScriptedHost host;
  Rng rng(5, 6);
  std::string lines;
  const PermutationCounts c = run_permutations(in, host, rng, [&](std::string_view t) { lines += t; });
  std::string expected_values;
  append_per_line(expected_values, 0, choice, observed.d);
  EXPECT_EQ(lines.substr(4, expected_values.size() - 4), expected_values.substr(4));
  EXPECT_EQ(c.at_least[5], 49);  // Ho
}

TEST(TestValues, TwoSidedVarianceTestComparesTheLargerOverTheSmaller) {
  AssignmentStatistics a;
  a.phil.var = 4.0L;
  a.disp.var = 1.0L;
  TestValues one, two;
  assignment_values({{false, true}, false}, a, one);
  assignment_values({{false, true}, true}, a, two);
  EXPECT_EQ(*one.d[1], 0.25L);
  EXPECT_EQ(*one.compared[1], 0.25L);
  EXPECT_EQ(*two.d[1], 0.25L);  // written as v_disp / v_phil
  EXPECT_EQ(*two.compared[1], 4.0L);
  // Other two-sided tests compare magnitudes; nothing counts against NA.
  SetStatistics p{0.1L, 0.3L, 0.2L, 0.5L, 0.6L}, d{0.2L, 0.5L, std::nullopt, 0.4L, 0.6L};
  set_values({{}, true}, p, d, two);
  EXPECT_NEAR(*two.compared[2], 0.2L, 1e-18L);
  EXPECT_FALSE(two.d[4]);
  EXPECT_FALSE(counts(two.d[4], 0.0L));
  EXPECT_FALSE(counts(0.5L, std::nullopt));
  EXPECT_TRUE(counts(0.5L, 0.5L));
}

}  // namespace
}  // namespace torvi::dispersal
