#include <gtest/gtest.h>

#include "run/data_set_lifecycle.h"
#include "support/ld_fixture.h"

namespace torvi::testing {
namespace {

// A small data set read from its file, every output of the test compared
// with its golden file, with any number of threads.
TEST(LdGolden, DataSetFromFileWithAnyNumberOfThreads) {
  for (int threads : kThreadCounts) {
    TempDir dir("ld_golden");
    const std::string path = dir.write("ldgen.dat", golden_input("ld/ldgen.dat"));
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
    RunContext ctx{host, rng, options, nb_perm, an.base_name + ".out", threads};
    ld_test(ctx, an);

    for (const char* suffix : {".out", "-tables.ld", "-dp.cd", "-r2.cd", "-details.cd"})
      EXPECT_EQ(compare_file_with_golden(std::string("ld/ldgen") + suffix, an.base_name + suffix), "")
          << suffix << ", " << threads << " threads";
  }
}

}  // namespace
}  // namespace torvi::testing
