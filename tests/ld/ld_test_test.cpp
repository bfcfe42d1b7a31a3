#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "report/fixed_format.h"
#include "support/ld_fixture.h"

namespace torvi::testing {
namespace {

// Two samples, four loci: an individual untyped at L1, one untyped at L3, a
// locus with a single allele (L3) and a sample where L2 never varies (pop2).
const LdCase kTiny{{"L1", "L2", "L3", "L4"},
                   {"pop1", "pop2"},
                   {{1, 101, 102, 303, 507},
                    {1, 102, 202, 303, 505},
                    {1, 202, 102, 0, 707},
                    {1, 0, 101, 303, 507},
                    {1, 102, 102, 303, 505},
                    {1, 102, 102, 303, 707},
                    {1, 101, 101, 303, 507},
                    {2, 101, 101, 303, 505},
                    {2, 101, 101, 303, 507},
                    {2, 102, 101, 303, 707},
                    {2, 202, 101, 303, 505}}};

const std::string kTables =
    "Sample pop1 for L1 X L2\r\n"
    "\r\n"
    "\t\t11\t12\t22\r\n"
    "\t11\t   1\t   1\t   0\r\n"
    "\t12\t   0\t   2\t   1\r\n"
    "\t22\t   0\t   1\t   0\r\n"
    "\r\n"
    "Sample pop1 for L1 X L4\r\n"
    "\r\n"
    "\t\t55\t57\t77\r\n"
    "\t11\t   0\t   2\t   0\r\n"
    "\t12\t   2\t   0\t   1\r\n"
    "\t22\t   0\t   0\t   1\r\n"
    "\r\n"
    "Sample pop2 for L1 X L4\r\n"
    "\r\n"
    "\t\t55\t57\t77\r\n"
    "\t11\t   1\t   1\t   0\r\n"
    "\t12\t   0\t   0\t   1\r\n"
    "\t22\t   1\t   0\t   0\r\n"
    "\r\n"
    "Sample pop1 for L2 X L4\r\n"
    "\r\n"
    "\t\t55\t57\t77\r\n"
    "\t11\t   0\t   2\t   0\r\n"
    "\t12\t   1\t   1\t   2\r\n"
    "\t22\t   1\t   0\t   0\r\n"
    "\r\n";

const std::string kDeltaPrime =
    "L1 X L2\t\t 0.20000\t      NA\t 0.20000\r\n"
    "L1 X L4\t\t 0.20000\t 0.11111\t 0.16444\r\n"
    "L2 X L4\t\t 0.16667\t      NA\t 0.16667\r\n";

const std::string kR2 =
    "L1 X L2\t\t 0.17647\t      NA\t 0.17647\r\n"
    "L1 X L4\t\t 0.08824\t 0.00826\t 0.05625\r\n"
    "L2 X L4\t\t 0.08750\t      NA\t 0.08750\r\n";

const std::string kDetails =
    "   pop\t  loc1(al)X  loc2(al)\t       N\t      pA\t      pB\t      cA\t      cB\t     nAB\t   Delta\t     RAB\t  Delta'\r\n"
    "pop1\tL1(1)XL2(1)\t       6\t 0.58333\t 0.50000\t 0.23611\t 0.16667\t 4.00000\t 0.10000\t 0.42008\t 0.20000\r\n"
    "pop1\tL1(1)XL2(2)\t       6\t 0.58333\t 0.50000\t 0.23611\t 0.16667\t 3.00000\t-0.10000\t-0.42008\t-0.20000\r\n"
    "pop1\tL1(2)XL2(1)\t       6\t 0.41667\t 0.50000\t 0.23611\t 0.16667\t 2.00000\t-0.10000\t-0.42008\t-0.20000\r\n"
    "pop1\tL1(2)XL2(2)\t       6\t 0.41667\t 0.50000\t 0.23611\t 0.16667\t 3.00000\t 0.10000\t 0.42008\t 0.20000\r\n"
    "pop1\tL1(1)XL4(5)\t       6\t 0.58333\t 0.50000\t 0.23611\t 0.33333\t 4.00000\t 0.10000\t 0.29704\t 0.20000\r\n"
    "pop1\tL1(1)XL4(7)\t       6\t 0.58333\t 0.50000\t 0.23611\t 0.33333\t 3.00000\t-0.10000\t-0.29704\t-0.20000\r\n"
    "pop1\tL1(2)XL4(5)\t       6\t 0.41667\t 0.50000\t 0.23611\t 0.33333\t 2.00000\t-0.10000\t-0.29704\t-0.20000\r\n"
    "pop1\tL1(2)XL4(7)\t       6\t 0.41667\t 0.50000\t 0.23611\t 0.33333\t 3.00000\t 0.10000\t 0.29704\t 0.20000\r\n"
    "pop2\tL1(1)XL4(5)\t       4\t 0.62500\t 0.62500\t 0.34375\t 0.34375\t 3.00000\t-0.04167\t-0.09091\t-0.11111\r\n"
    "pop2\tL1(1)XL4(7)\t       4\t 0.62500\t 0.37500\t 0.34375\t 0.34375\t 2.00000\t 0.04167\t 0.09091\t 0.11111\r\n"
    "pop2\tL1(2)XL4(5)\t       4\t 0.37500\t 0.62500\t 0.34375\t 0.34375\t 2.00000\t 0.04167\t 0.09091\t 0.11111\r\n"
    "pop2\tL1(2)XL4(7)\t       4\t 0.37500\t 0.37500\t 0.34375\t 0.34375\t 1.00000\t-0.04167\t-0.09091\t-0.11111\r\n"
    "pop1\tL2(1)XL4(5)\t       7\t 0.57143\t 0.50000\t 0.20408\t 0.28571\t 3.50000\t-0.08333\t-0.29580\t-0.16667\r\n"
    "pop1\tL2(1)XL4(7)\t       7\t 0.57143\t 0.50000\t 0.20408\t 0.28571\t 4.50000\t 0.08333\t 0.29580\t 0.16667\r\n"
    "pop1\tL2(2)XL4(5)\t       7\t 0.42857\t 0.50000\t 0.20408\t 0.28571\t 3.50000\t 0.08333\t 0.29580\t 0.16667\r\n"
    "pop1\tL2(2)XL4(7)\t       7\t 0.42857\t 0.50000\t 0.20408\t 0.28571\t 2.50000\t-0.08333\t-0.29580\t-0.16667\r\n";

const std::string kSection =
    "\r\n"
    "*******************************************************\r\n"
    "\tP-value for genotypic disequilibrium\r\n"
    "\tbased on          7 permutations.\r\n"
    "\tAdjusted P-value for 5% nominal level is :   0.7142857143\r\n"
    "\tAdjusted P-value for 1% nominal level is :   0.1428571429\r\n"
    "\r\n"
    "\t\t  pop1\t  pop2\t   All\r\n"
    "L1 X L2\t\t 1.00000\t      NA\t 1.00000\r\n"
    "L1 X L3\t\t      NA\t      NA\t      NA\r\n"
    "L1 X L4\t\t 0.28571\t 1.00000\t 0.28571\r\n"
    "L2 X L3\t\t      NA\t      NA\t      NA\r\n"
    "L2 X L4\t\t 0.57143\t      NA\t 0.57143\r\n"
    "L3 X L4\t\t      NA\t      NA\t      NA\r\n"
    "\r\n";
TEST(LdTest, TinyDataSetWritesEveryFileExactly) {
  LdRun run(kTiny, "tiny");
  run.options.CB_dp = run.options.CB_r = run.options.CB_details = run.options.CB_Savetables = true;
  run.options.RG_GDT = LdTests::pairs_in_each_sample;
  run.options.RG_MTG = NominalLevel::p1_100;
  run.nb_perm.perm_gen_diseq = 7;
  run.run();
  EXPECT_EQ(run.file("-tables.ld"), kTables);
  EXPECT_EQ(run.file("-dp.cd"), kDeltaPrime);
  EXPECT_EQ(run.file("-r2.cd"), kR2);
  EXPECT_EQ(run.file("-details.cd"), kDetails);
  EXPECT_EQ(run.result(), kSection);
  // The stream ends where drawing every exchange in order leaves it.
  EXPECT_EQ(run.rng, Rng(122523777, 1721662771));
  EXPECT_EQ(run.host.progress_ranges, std::vector<int64_t>{7});
  EXPECT_EQ(run.host.progress_steps, 6);
  EXPECT_EQ(run.host.progress_ends, 1);
  EXPECT_TRUE(run.host.messages.empty());
}

TEST(LdTest, SectionFormsFollowTheChoices) {
  {  // over all samples: only the "   All" column; "fixed #": no adjusted level line
    LdRun run(kTiny, "all_pairs");
    run.options.RG_GDT = LdTests::all_pairs;
    run.options.RG_MTG = NominalLevel::fixed;
    run.nb_perm.perm_gen_diseq = 7;
    run.run();
    EXPECT_EQ(run.result(),
              "\r\n*******************************************************\r\n"
              "\tP-value for genotypic disequilibrium\r\n"
              "\tbased on          7 permutations.\r\n"
              "\r\n"
              "\t\t   All\r\n"
              "L1 X L2\t\t 1.00000\r\n"
              "L1 X L3\t\t      NA\r\n"
              "L1 X L4\t\t 0.28571\r\n"
              "L2 X L3\t\t      NA\r\n"
              "L2 X L4\t\t 0.57143\r\n"
              "L3 X L4\t\t      NA\r\n"
              "\r\n");
    // No box ticked: no companion file.
    EXPECT_FALSE(std::filesystem::exists(run.an.base_name + "-dp.cd"));
    EXPECT_FALSE(std::filesystem::exists(run.an.base_name + "-tables.ld"));
  }
  {  // "1/1000": three adjusted level lines
    LdRun run(kTiny, "per_mille");
    run.options.RG_GDT = LdTests::all_pairs;
    run.options.RG_MTG = NominalLevel::p1_1000;
    run.nb_perm.perm_gen_diseq = 3;
    run.run();
    EXPECT_NE(run.result().find("\tAdjusted P-value for 5% nominal level is :  16.6666666667\r\n"
                                "\tAdjusted P-value for 1% nominal level is :   3.3333333333\r\n"
                                "\tAdjusted P-value for 0.1% nominal level is :   0.3333333333\r\n\r\n"),
              std::string::npos);
  }
  {  // no permutations: companion files only, no section, no draw
    LdRun run(kTiny, "no_test");
    run.options.CB_dp = true;
    run.run();
    EXPECT_EQ(run.file("-dp.cd"), kDeltaPrime);
    EXPECT_FALSE(std::filesystem::exists(run.an.base_name + ".out"));
    EXPECT_EQ(run.rng, Rng(12345, 67890));
    EXPECT_TRUE(run.host.progress_ranges.empty());
  }
}

TEST(LdTest, OnePermutationGivesOneEverywhere) {
  LdRun run(random_case(3, 4, 15, 4, 10, 7), "n1");
  run.options.RG_GDT = LdTests::pairs_in_each_sample;
  run.options.RG_MTG = NominalLevel::fixed;
  run.nb_perm.perm_gen_diseq = 1;
  run.run();
  const std::string out = run.result();
  size_t values = 0;
  // Cells of the lines after the column header: label, TAB, then TAB-led cells.
  for (size_t at = out.find("   All\r\n") + 8; out.compare(at, 2, "\r\n") != 0;) {
    const size_t eol = out.find("\r\n", at);
    const std::string line = out.substr(at, eol - at);
    for (size_t cell = line.find("\t\t") + 1; cell < line.size(); cell += 9) {
      const std::string value = line.substr(cell + 1, 8);
      if (value != kNA8) {
        EXPECT_EQ(value, " 1.00000") << line;
        ++values;
      }
    }
    at = eol + 2;
  }
  EXPECT_GT(values, 0u);
  EXPECT_EQ(run.rng, Rng(12345, 67890));
}

TEST(LdTest, ResultsDoNotDependOnTheThreadCount) {
  // Missing genotypes make the positions typed at both loci differ by pair.
  const LdCase data = random_case(5, 6, 30, 5, 12, 11);
  std::string reference, reference_details;
  Rng reference_rng;
  for (int threads : testing::kThreadCounts) {
    LdRun run(data, "threads" + std::to_string(threads));
    run.options.CB_details = true;
    run.options.RG_GDT = LdTests::pairs_in_each_sample;
    run.options.RG_MTG = NominalLevel::fixed;
    run.nb_perm.perm_gen_diseq = 60;
    run.run(threads);
    EXPECT_EQ(run.host.progress_steps, 59);
    if (threads == 1) {
      reference = run.result();
      reference_details = run.file("-details.cd");
      reference_rng = run.rng;
      continue;
    }
    EXPECT_EQ(run.result(), reference) << threads << " threads";
    EXPECT_EQ(run.file("-details.cd"), reference_details);
    EXPECT_EQ(run.rng, reference_rng);
  }
  EXPECT_NE(reference.find("0."), std::string::npos);
}

TEST(LdTest, CancelStopsAtARepetition) {
  LdRun run(kTiny, "cancel");
  run.options.RG_GDT = LdTests::all_pairs;
  run.options.RG_MTG = NominalLevel::fixed;
  run.nb_perm.perm_gen_diseq = 50;
  run.host.stop_after_steps = 3;
  EXPECT_THROW(run.run(), RunCancelled);
  EXPECT_EQ(run.host.progress_ends, 1);
  EXPECT_FALSE(std::filesystem::exists(run.an.base_name + ".out"));
  // The stream has moved past the whole test, as after a full run.
  LdRun full(kTiny, "uncancelled");
  full.options = run.options;
  full.nb_perm.perm_gen_diseq = 50;
  full.run();
  EXPECT_EQ(run.rng, full.rng);
}

}  // namespace
}  // namespace torvi::testing
