#include "randtests/cell_terms.h"

#include <gtest/gtest.h>

#include "randtests/shuffles.h"
#include "support/perm_fixture.h"
#include "util/size_tables.h"

namespace torvi {
namespace {

// Sums from the terms must give the very numbers wc_components gives from
// the frequencies, whether the terms are looked up or computed, and only
// over the samples of the range.
TEST(CellTerms, ComponentsEqualThoseOfTheFrequencyTables) {
  testing::PermRun run("cell_terms");
  run.load(testing::small_data(6, 4, 13, 0.2, 3));  // sample sizes vary with the missing genotypes
  const CountTables& ct = run.an.ct;
  const int first = 2, last = 5;
  const std::vector<int32_t> counts = integer_counts(ct, first, last, AlleleUnits::copies);
  std::vector<int32_t> hets(counts.size());
  for (size_t i = 0; i < hets.size(); ++i) hets[i] = static_cast<int32_t>(ct.het_allele_count[i]);

  WcState expected;
  expected.allocate(ct);
  CountTables frequencies = ct;
  wc_components(frequencies, expected, first, last, TablesOf::randomised);

  for (size_t budget : {size_t{1} << 20, size_t{20}, size_t{0}}) {
    SCOPED_TRACE(budget);
    const CellTerms terms(ct, first, last, budget);
    WcState wc;
    wc.allocate(ct);
    for (int l = 1; l <= ct.nl; ++l) {
      const size_t base = static_cast<size_t>(ct.index->first[l]);
      terms.allele_sums(l, counts.data(), &wc.pbar[base], &wc.Q[base]);
      terms.het_sums(l, hets.data(), &wc.hbar[base]);
      wc_locus_from_sums(wc, *ct.index, l, terms.typed_samples(l), terms.S1(l), terms.S2(l), TablesOf::randomised);
      EXPECT_EQ(wc.samples_at_locus[l], expected.samples_at_locus[l]);
      EXPECT_EQ(wc.wc_F_locus[l], expected.wc_F_locus[l]) << "locus " << l;
      EXPECT_EQ(wc.wc_theta_locus[l], expected.wc_theta_locus[l]) << "locus " << l;
      EXPECT_EQ(wc.wc_f_locus[l], expected.wc_f_locus[l]) << "locus " << l;
      EXPECT_EQ(wc.locus_sums[l].abc, expected.locus_sums[l].abc) << "locus " << l;
    }
    EXPECT_EQ(wc.pbar, expected.pbar);
    EXPECT_EQ(wc.hbar, expected.hbar);
    EXPECT_EQ(wc.Q, expected.Q);
  }
}

TEST(SizeTables, RowsForTheSizesPresentWithinTheBudget) {
  // Sizes 3 (7 entries) and 5 (11) fit in 20 entries, 40 does not; a
  // repeated size is tabulated once; absent sizes have no row.
  const SizeTables<int> tables({3, 5, 3, 40}, 2, [](int n, int x) { return 100 * n + x; }, 20);
  ASSERT_NE(tables.row(3), nullptr);
  ASSERT_NE(tables.row(5), nullptr);
  EXPECT_EQ(tables.row(3)[6], 306);
  EXPECT_EQ(tables.row(5)[0], 500);
  EXPECT_EQ(tables.row(5)[10], 510);
  EXPECT_EQ(tables.row(40), nullptr);
  EXPECT_EQ(tables.row(4), nullptr);
  EXPECT_EQ(tables.row(0), nullptr);
  EXPECT_EQ(tables.row(1000), nullptr);
}

}  // namespace
}  // namespace torvi
