#include <gtest/gtest.h>

#include "datagen/generator.h"
#include "randtests/ld_fixture.h"
#include "run/data_set_lifecycle.h"

namespace torvi::testing {
namespace {

// A small generated data set read from its file, every output of the test
// compared with its golden file (TORVI_REGENERATE_GOLDEN=1 rewrites them).
TEST(LdGolden, GeneratedDataSet) {
  datagen::Shape shape;
  shape.samples = 4;
  shape.loci = 5;
  shape.alleles_per_locus = 3;
  shape.max_allele = 12;
  shape.individuals_per_sample = 25;
  shape.missing_rate = 0.1;
  shape.differentiation = 0.3;
  shape.seed = 46;
  TempDir dir("ld_golden");
  const std::string path = dir.write("ldgen.dat", datagen::generate_data_file(shape));

  ScriptedHost host;
  Rng rng(1234, 5678);
  RunOptions options;
  options.CB_dp = options.CB_r = options.CB_details = options.CB_Savetables = true;
  options.RG_GDT = LdTests::pairs_in_each_sample;
  options.RG_MTG = NominalLevel::p5_100;
  NbPerm nb_perm;
  nb_perm.perm_gen_diseq = 200;
  Analysis an;
  ASSERT_TRUE(create_data_set(host, path, an));
  // Labels the per-locus report gives before this section runs.
  an.ds.sample_names.assign(1, "");
  for (int s = 1; s <= an.ds.np; ++s) an.ds.sample_names.push_back("pop" + std::to_string(s));
  an.base_name = dir.file("ldgen");
  RunContext ctx{host, rng, options, nb_perm, an.base_name + ".out", 2};
  ld_test(ctx, an);

  for (const char* suffix : {".out", "-tables.ld", "-dp.cd", "-r2.cd", "-details.cd"})
    EXPECT_EQ(compare_with_golden(std::string("ld/ldgen") + suffix, read_file(an.base_name + suffix)), "") << suffix;
}

}  // namespace
}  // namespace torvi::testing
