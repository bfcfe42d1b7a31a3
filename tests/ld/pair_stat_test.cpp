#include "ld/pair_stat.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/ld_fixture.h"

namespace torvi::testing {
namespace {

struct Recorder : LdPairObserver {
  int tables = 0, lines = 0, differ = 0;
  void gamete_counts_differ() override { ++differ; }
  bool wants_table() const override { return true; }
  void table(int, int, int, const LdTable&) override { ++tables; }
  bool wants_allele_pairs() const override { return true; }
  void allele_pair(int, int, int, const LdAllelePair&) override { ++lines; }
};

LdPairResult stat(const LdCase& c, int s, Recorder& rec) {
  Analysis an;
  fill(an, c);
  LdGenotypes lg(an.ds, *an.alleles);
  LdTable table(64, lg.largest_sample());
  LdEstimatorScratch scratch(lg);
  return ld_pair_stat(lg, s, 1, 2, table, scratch, rec);
}

TEST(LdPairStat, OneColumnAmongTypedIndividualsIsNotTestable) {
  // At B the second genotype belongs to the one individual untyped at A.
  Recorder rec;
  LdPairResult r = stat({{"A", "B"}, {"s"}, {{1, 101, 101}, {1, 102, 101}, {1, 202, 101}, {1, 0, 202}}}, 1, rec);
  EXPECT_FALSE(r.testable);
  EXPECT_EQ(r.n, 3);
  EXPECT_EQ(r.g, 0.0L);
  EXPECT_FALSE(is_value(r.delta_prime));
  EXPECT_EQ(rec.tables + rec.lines + rec.differ, 0);
}

TEST(LdPairStat, PerfectAssociationOfTwoHomozygoteClasses) {
  // 11 always with 33, 22 always with 44: Delta' = 1 for every allele pair.
  Recorder rec;
  LdPairResult r = stat({{"A", "B"}, {"s"}, {{1, 101, 303}, {1, 101, 303}, {1, 202, 404}, {1, 202, 404}}}, 1, rec);
  ASSERT_TRUE(r.testable);
  EXPECT_EQ(r.n, 4);
  EXPECT_EQ(r.g, 4.0L * std::log(2.0L));
  // Four allele pairs of weight 1/4, |Delta'| = 1 and RAB² = 1 for each.
  EXPECT_NEAR(static_cast<double>(r.delta_prime), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(r.r2), 1.0, 1e-15);
  EXPECT_EQ(rec.tables, 1);
  EXPECT_EQ(rec.lines, 4);
}

TEST(LdTable, GDependsOnlyOnTheCountsHeld) {
  // The same counts (3, 2, 1, 1) in different cells of two samples.
  Analysis an;
  fill(an, {{"A", "B"},
            {"s1", "s2"},
            {{1, 101, 303}, {1, 101, 303}, {1, 101, 303}, {1, 202, 404}, {1, 202, 404}, {1, 101, 404}, {1, 202, 303},
             {2, 202, 404}, {2, 202, 303}, {2, 202, 303}, {2, 202, 404}, {2, 101, 303}, {2, 202, 404}, {2, 101, 404}}});
  LdGenotypes lg(an.ds, *an.alleles);
  LdTable table(16, lg.largest_sample());
  const long double g1 = table.count(lg, 1, 1, 2);
  const long double g2 = table.count(lg, 2, 1, 2);
  EXPECT_EQ(g1, g2);
  EXPECT_EQ(table.touched_end() - table.touched_begin(), 4);
}

}  // namespace
}  // namespace torvi::testing
