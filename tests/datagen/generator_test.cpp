#include "datagen/generator.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "data/data_reader.h"
#include "model/count_tables.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

TEST(Generator, WritesFilesTheReaderAccepts) {
  datagen::Shape shape;
  shape.samples = 4;
  shape.loci = 7;
  shape.alleles_per_locus = 12;
  shape.min_allele = 95;
  shape.max_allele = 130;
  shape.individuals_per_sample = 9;
  shape.missing_rate = 0.1;
  shape.inbreeding = 0.3;
  shape.seed = 11;
  std::string text = datagen::generate_data_file(shape);
  EXPECT_EQ(text, datagen::generate_data_file(shape));

  testing::ScriptedHost host;
  DataSet ds;
  std::istringstream h(text), r(text);
  ASSERT_TRUE(check_header(host, h, "g.dat", ds));
  ASSERT_TRUE(read_data_file(host, r, "g.dat", ds));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ds.coding_base, 1000);
  EXPECT_EQ(ds.ni, 36);
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(ds.size_of_sample(s), 9);
  AlleleIndex ix = AlleleIndex::from_data(ds);
  for (int l = 1; l <= 7; ++l) {
    EXPECT_LE(ix.alleles_at_locus(l), 12);
    for (int a = ix.first[l]; a < ix.first[l + 1]; ++a) {
      EXPECT_GE(ix.allele[a], 95);
      EXPECT_LE(ix.allele[a], 130);
    }
  }
}

TEST(Generator, RefusesImpossibleShapes) {
  datagen::Shape shape;
  shape.alleles_per_locus = 0;
  EXPECT_THROW(datagen::generate_data_file(shape), std::invalid_argument);
  shape = {};
  shape.max_allele = 150;
  shape.allele_digits = 2;
  EXPECT_THROW(datagen::generate_data_file(shape), std::invalid_argument);
}

}  // namespace
}  // namespace torvi
