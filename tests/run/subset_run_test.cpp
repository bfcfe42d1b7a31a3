#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "random/seeds_file.h"
#include "run/run_driver.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

TEST(SubsetRun, TheSubsetIsAnalysedWithTheKeptSamplesLabels) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  TempDir dir{"subset-run"};
  ScriptedHost host;
  Rng rng{12345, 67890};
  NbPerm nb;
  RunSettings settings;
  settings.file_list = {dir.write("tiny.dat",
                                  "3 2 12 2\nloc1\nloc2\n1 0101 0312\n1 0102 0000\n2 0101 0303\n3 1212 0303\n")};
  settings.options.label_file_checked = true;
  settings.selection.reset(3, 2);
  settings.selection.samples_checked = true;
  settings.selection.sample_selected = {1, 1, 0, 1};
  settings.selection.sample_names = {"", "north", "middle", "south"};

  RunOutcome out = run_files(host, rng, nb, settings, dir.file(kSeedsFileName));
  EXPECT_EQ(out.files_done, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("tiny.out")));
  const std::string text = read_file(dir.file("tiny-P13.out"));
  EXPECT_NE(text.find("from file tiny-P13.dat. *"), std::string::npos);
  // The column line of the allele frequencies names the kept samples only.
  EXPECT_NE(text.find("\t north\t south\t All_W"), std::string::npos);
  EXPECT_EQ(text.find("middle"), std::string::npos);
  EXPECT_EQ(read_file(dir.file("tiny-P13.lab")), "north\r\nsouth\r\n");
  EXPECT_EQ(host.messages.back().text, "Torvi finished processing data in \n\rtiny-P13.dat");
}

}  // namespace
}  // namespace torvi
