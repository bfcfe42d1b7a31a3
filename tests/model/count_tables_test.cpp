#include "model/count_tables.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/data_reader.h"
#include "datagen/generator.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

DataSet read_text(const std::string& text) {
  testing::ScriptedHost host;
  DataSet ds;
  std::istringstream h(text), r(text);
  EXPECT_TRUE(check_header(host, h, "t.dat", ds));
  EXPECT_TRUE(read_data_file(host, r, "t.dat", ds));
  return ds;
}

struct Counted {
  DataSet ds;
  CountTables ct;
  explicit Counted(const std::string& text) : ds(read_text(text)) {
    ct.allocate(ds, std::make_shared<const AlleleIndex>(AlleleIndex::from_data(ds)));
    count_alleles(ds, ct);
  }
  long double count(int s, int l, int a) const { return ct.allele_row(s, l)[slot(l, a)]; }
  long double het(int s, int l, int a) const { return ct.het_row(s, l)[slot(l, a)]; }
  long double total(int l, int a) const { return ct.total_row(l)[slot(l, a)]; }
  int slot(int l, int a) const { return ct.index->slot(l, a) - ct.index->first[l]; }
};

// Two samples, two loci; sample 2 is untyped at locus 2.
constexpr const char* kData =
    "2 2 30 2\nA\nB\n"
    "1 1212 0312\n"
    "1 1203 0000\n"
    "2 2703 0000\n"
    "2 0303 0000\n";

TEST(AlleleIndex, ListsThePresentAllelesAscending) {
  Counted c(kData);
  const AlleleIndex& ix = *c.ct.index;
  EXPECT_EQ(ix.alleles_at_locus(1), 3);
  EXPECT_EQ(ix.alleles_at_locus(2), 2);
  EXPECT_EQ(ix.total_slots(), 5);
  EXPECT_EQ(ix.allele, (std::vector<int16_t>{3, 12, 27, 3, 12}));
  EXPECT_EQ(ix.slot(1, 27), 2);
  EXPECT_EQ(ix.slot(2, 3), 3);
  EXPECT_EQ(ix.slot(2, 27), -1);
  EXPECT_EQ(ix.slot(1, 30), -1);
}

TEST(CountAlleles, CountsCopiesCarriersAndTotals) {
  Counted c(kData);
  EXPECT_EQ(c.ct.typed(1, 1), 2);
  EXPECT_EQ(c.ct.typed(2, 2), 0);
  EXPECT_EQ(c.ct.min_typed, 0);
  // The homozygote 1212 adds two copies and no heterozygous carrier.
  EXPECT_EQ(c.count(1, 1, 12), 3.0L);
  EXPECT_EQ(c.het(1, 1, 12), 1.0L);
  EXPECT_EQ(c.count(1, 1, 3), 1.0L);
  EXPECT_EQ(c.count(2, 1, 3), 3.0L);
  EXPECT_EQ(c.het(2, 1, 3), 1.0L);
  EXPECT_EQ(c.count(2, 1, 27), 1.0L);
  EXPECT_EQ(c.total(1, 3), 4.0L);
  EXPECT_EQ(c.total(1, 12), 3.0L);
  EXPECT_EQ(c.total(2, 12), 1.0L);
  EXPECT_EQ(c.count(2, 2, 3), 0.0L);
}

TEST(CountAlleles, KeepsItsInvariantsAndRecountsInPlace) {
  datagen::Shape shape;
  shape.samples = 3;
  shape.loci = 40;
  shape.individuals_per_sample = 7;
  shape.missing_rate = 0.2;
  shape.inbreeding = 0.3;
  Counted c(datagen::generate_data_file(shape));
  for (int l = 1; l <= 40; ++l) {
    int k = c.ct.index->alleles_at_locus(l);
    for (int s = 1; s <= 3; ++s) {
      long double copies = 0, carriers = 0;
      int typed = 0, het = 0;
      for (int i = 1; i <= c.ds.ni; ++i) {
        int32_t g = c.ds.geno(l, i);
        if (c.ds.sample_of[i] != s || g == 0) continue;
        ++typed;
        het += g / c.ds.coding_base != g % c.ds.coding_base ? 1 : 0;
      }
      for (int a = 0; a < k; ++a) {
        copies += c.ct.allele_row(s, l)[a];
        carriers += c.ct.het_row(s, l)[a];
      }
      EXPECT_EQ(c.ct.typed(s, l), typed);
      EXPECT_EQ(copies, 2.0L * typed);
      EXPECT_EQ(carriers, 2.0L * het);
    }
    for (int a = 0; a < k; ++a) {
      long double sum = 0;
      for (int s = 1; s <= 3; ++s) sum += c.ct.allele_row(s, l)[a];
      EXPECT_EQ(sum, c.ct.total_row(l)[a]);
    }
  }
  // A second pass over tables holding other values gives the same counts
  // from the same storage.
  std::vector<long double> before = c.ct.allele_count;
  const long double* storage = c.ct.allele_count.data();
  for (long double& x : c.ct.allele_count) x = 0.25L;
  count_alleles(c.ds, c.ct);
  EXPECT_EQ(c.ct.allele_count, before);
  EXPECT_EQ(c.ct.allele_count.data(), storage);
}

TEST(CountAlleles, MinTypedNeverExceeds10000) {
  std::string text = "1 1 9 1\nA\n";
  for (int i = 0; i < 10001; ++i) text += "1 12\n";
  Counted c(text);
  EXPECT_EQ(c.ct.typed(1, 1), 10001);
  EXPECT_EQ(c.ct.min_typed, 10000);
}

}  // namespace
}  // namespace torvi
