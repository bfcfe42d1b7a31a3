#include "run/data_set_lifecycle.h"

#include <gtest/gtest.h>

#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

TEST(DataSetLifecycle, SizesTheTablesFromWhatWasRead) {
  testing::TempDir dir("lifecycle");
  testing::ScriptedHost host;
  Analysis an;
  std::string path = dir.write("x.dat", "3 2 30 2\nA\nB\n1 0130 0000\n3 2727 0101\n");
  ASSERT_TRUE(create_data_set(host, path, an));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(an.ds.coding_base, 100);
  EXPECT_EQ(an.alleles->total_slots(), 4);
  EXPECT_EQ(an.ct.index, an.alleles);
  EXPECT_EQ(an.ct.allele_count.size(), 3u * 4u);
  EXPECT_EQ(an.ct.typed_count.size(), 4u * 3u);
  EXPECT_EQ(an.wc.samples_at_locus[1], 3);
  EXPECT_EQ(an.wc.samples_at_locus[2], 3);
  ASSERT_EQ(an.fis_sample_locus.size(), 4u * 3u);
  for (long double f : an.fis_sample_locus) EXPECT_EQ(f, na_value);

  an.ds.sample_selected[2] = 0;
  release_data_set(an);
  EXPECT_TRUE(an.ds.codes.empty());
  EXPECT_TRUE(an.ct.allele_count.empty());
  EXPECT_FALSE(an.alleles);
  EXPECT_TRUE(an.fis_sample_locus.empty());
  // The coding and the selections stay for the next run.
  EXPECT_EQ(an.ds.coding_base, 100);
  EXPECT_EQ(an.ds.sample_selected, (std::vector<uint8_t>{1, 1, 0, 1}));
}

TEST(DataSetLifecycle, ReaderFailureAllocatesNothing) {
  testing::TempDir dir("lifecycle");
  testing::ScriptedHost host;
  Analysis an;
  std::string path = dir.write("x.dat", "1 1 9 1\nA\n2 11\n");
  EXPECT_FALSE(create_data_set(host, path, an));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(an.alleles);
  EXPECT_TRUE(an.fis_sample_locus.empty());
}

}  // namespace
}  // namespace torvi
