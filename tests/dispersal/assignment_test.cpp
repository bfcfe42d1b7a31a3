#include "dispersal/assignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "dispersal/set_fixture.h"

namespace torvi::dispersal {
namespace {

struct Pooled {
  IndexedSet set;
  CountTables tables;
  AssignmentTerms terms;
  explicit Pooled(const GenotypeSet& g) : set(index_alleles(g)), tables(count_set(set)), terms(assignment_terms(set, tables)) {}

  AssignmentStatistics statistics(const std::vector<int32_t>& order, const std::vector<int32_t>& phil_sizes) const {
    std::vector<long double> sums(static_cast<size_t>(set.nl));
    return assignment_statistics(terms, order.data(), phil_sizes, sums.data());
  }
};

std::vector<int32_t> file_order(int n) {
  std::vector<int32_t> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  return order;
}

TEST(Assignment, LogTermsUseTheIndividualsOwnSample) {
  // Sample 1: 11, 22 (p = 0.5 each); sample 2: 12, 11 (p1 = 0.75).
  const Pooled p(torvi::testing::set_of(2, 1, {"1 0101", "1 0202", "2 0102", "2 0101"}));
  EXPECT_EQ(p.terms.log_term[0], std::log(0.25L));
  EXPECT_EQ(p.terms.log_term[1], std::log(0.25L));
  EXPECT_EQ(p.terms.log_term[2], std::log(2 * 0.75L * 0.25L));
  EXPECT_EQ(p.terms.log_term[3], 2 * std::log(0.75L));
}

TEST(Assignment, MeansVariancesAndTOfAHandWorkedSample) {
  // One sample, p1 = p2 = 0.5: L = ln 0.25 for homozygotes, ln 0.5 for
  // heterozygotes, mean 1.5 ln 0.5; AI = ±q with q = 0.5 ln 0.5, and 0 for
  // the individual typed at no locus (still counted).
  const Pooled p(torvi::testing::set_of(1, 1, {"1 0101", "1 0202", "1 0102", "1 0102", "1 0000"}));
  const AssignmentStatistics a = p.statistics(file_order(5), {0, 2});
  const long double q = 0.5L * std::log(0.5L);
  EXPECT_EQ(a.phil.n, 2);
  EXPECT_EQ(a.disp.n, 3);
  EXPECT_NEAR(*a.phil.mean, q, 1e-15L);
  EXPECT_NEAR(*a.phil.var, 0, 1e-15L);
  EXPECT_NEAR(*a.disp.mean, -2 * q / 3, 1e-15L);
  EXPECT_NEAR(*a.disp.var, 2 * q * q / 9, 1e-15L);  // divisor n
  EXPECT_NEAR(*a.t, -(5.0L / 3) * std::sqrt(27.0L / 2), 1e-12L);

  // The same individuals with the sexes exchanged by the order.
  const AssignmentStatistics b = p.statistics({2, 3, 4, 0, 1}, {0, 2});
  EXPECT_NEAR(*b.phil.mean, -q, 1e-15L);
  EXPECT_EQ(b.disp.n, 3);
}

TEST(Assignment, ASexWithoutIndividualsHasNoValues) {
  const Pooled p(torvi::testing::set_of(2, 1, {"1 0101", "1 0102", "2 0202"}));
  const AssignmentStatistics a = p.statistics(file_order(3), {0, 0, 0});
  EXPECT_EQ(a.phil.n, 0);
  EXPECT_FALSE(a.phil.mean);
  EXPECT_FALSE(a.phil.var);
  EXPECT_FALSE(a.t);
  EXPECT_EQ(a.disp.n, 3);
  EXPECT_TRUE(a.disp.mean);
  // Both variances 0: t has no value either.
  const Pooled same(torvi::testing::set_of(1, 1, {"1 0101", "1 0101"}));
  EXPECT_FALSE(same.statistics(file_order(2), {0, 1}).t);
}

}  // namespace
}  // namespace torvi::dispersal
