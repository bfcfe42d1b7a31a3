#include "random/seeds_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/scripted_host.h"

namespace torvi {
namespace {

class SeedsFile : public ::testing::Test {
 protected:
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "torvi_seeds_test";
  std::string path;
  void SetUp() override {
    std::filesystem::create_directories(dir);
    path = (dir / kSeedsFileName).string();
    std::filesystem::remove(path);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string read() {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(SeedsFile, UsableSeedsAreTakenSilently) {
  write("17 23\r\n");
  testing::ScriptedHost host;
  Rng rng;
  load_seeds(host, rng, path);
  EXPECT_EQ(rng, Rng(17, 23));
  EXPECT_EQ(host.seed_dialogs_shown, 0);
  // No range check is made on values read from the file.
  write("-4   2147483647 and more");
  load_seeds(host, rng, path);
  EXPECT_EQ(rng, Rng(-4, 2147483647));
  EXPECT_EQ(host.seed_dialogs_shown, 0);
}

TEST_F(SeedsFile, SavedStateUsesThreeBlanks) {
  Rng rng(17, 23);
  rng.rnd_uniform();
  ASSERT_TRUE(save_seeds(rng, path));
  EXPECT_EQ(read(), std::to_string(rng.seed1) + "   " + std::to_string(rng.seed2) + "\r\n");
}

TEST_F(SeedsFile, UnusableFileAsksUntilBothSeedsAreInRange) {
  for (std::string content : {"0 17", "17", "text here", ""}) {
    write(content);
    testing::ScriptedHost host;
    host.seed_answers = {Host::SeedTexts{"abc", "5"},           // text: asked again
                         Host::SeedTexts{"2147483563", "5"},    // out of range
                         std::nullopt,                          // closed: still out of range
                         Host::SeedTexts{"  +2147483562", "1"}};
    Rng rng;
    load_seeds(host, rng, path);
    EXPECT_EQ(rng, Rng(2147483562, 1)) << content;
    EXPECT_EQ(host.seed_dialogs_shown, 4) << content;
    EXPECT_EQ(read(), "2147483562 1\r\n") << content;
  }
}

TEST_F(SeedsFile, MissingFileAsks) {
  testing::ScriptedHost host;
  host.seed_answers = {Host::SeedTexts{"0", "5"}, Host::SeedTexts{"1", "2147483398"}};
  Rng rng;
  load_seeds(host, rng, path);
  EXPECT_EQ(rng, Rng(1, 2147483398));
  EXPECT_EQ(read(), "1 2147483398\r\n");
}

TEST_F(SeedsFile, ResetReplacesTheStateAndTheFile) {
  write("17   23\r\n");
  testing::ScriptedHost host;
  host.seed_answers = {Host::SeedTexts{"5", "2147483399"}, Host::SeedTexts{"5", "6"}};
  Rng rng(17, 23);
  reset_seeds(host, rng, path);
  EXPECT_EQ(rng, Rng(5, 6));
  EXPECT_EQ(read(), "5 6\r\n");
}

TEST(SeedText, OnlyBlanksSignAndDigits) {
  EXPECT_EQ(parse_seed_text("12"), 12);
  EXPECT_EQ(parse_seed_text("   -7"), -7);
  EXPECT_EQ(parse_seed_text("+2147483647"), 2147483647);
  EXPECT_EQ(parse_seed_text("-2147483648"), INT32_MIN);
  for (std::string bad : {"", "  ", "+", "1 2", "12 ", "1e3", "0x10", "2147483648", "99999999999999"})
    EXPECT_FALSE(parse_seed_text(bad).has_value()) << bad;
}

}  // namespace
}  // namespace torvi
