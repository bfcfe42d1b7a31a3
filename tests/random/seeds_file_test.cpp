#include "random/seeds_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

class SeedsFile : public ::testing::Test {
 protected:
  testing::TempDir temp{"seeds"};  // one per test: tests may run at once
  std::filesystem::path dir = temp.path();
  std::string path = (dir / kSeedsFileName).string();
  void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string read() {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(SeedsFile, UsableSeedsAreTakenSilently) {
  // Only the first two words of the first line count; a byte-order mark is skipped.
  const std::vector<std::string> contents = {"17 23\r\n", "17   23 and more words\nsecond line",
                                             "\xEF\xBB\xBF" "17\t23", "17 23 " + std::string(1 << 20, '9')};
  for (const std::string& content : contents) {
    write(content);
    testing::ScriptedHost host;
    Rng rng;
    load_seeds(host, rng, path);
    EXPECT_EQ(rng, Rng(17, 23)) << content.substr(0, 20);
    EXPECT_EQ(host.seed_dialogs_shown, 0);
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SeedsFile, UnusableFileIsNamedWithWhatIsWrongAndLeftUntouched) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "holds no seeds"},
      {"17", "holds one number, \"17\", where two seeds are expected"},
      {"0 17", "the first seed 0 lies outside its range 1..2147483562"},
      {"17 -3", "the second seed -3 lies outside its range 1..2147483398"},
      // Seeds equal to the moduli would freeze the generator.
      {"2147483563 2147483399", "the first seed 2147483563 lies outside its range 1..2147483562"},
      {"5 2147483399", "the second seed 2147483399 lies outside its range 1..2147483398"},
      {"1.5 2.5", "the first seed \"1.5\" is not a whole number in 1..2147483562"},
      {"0x1F 5", "the first seed \"0x1F\" is not a whole number"},
      {"\xFF\xFE" "1 2", "the first seed \"??1\" is not a whole number"},
      {"\n17 23", "holds no seeds"},
      // A first line longer than anything a seeds file holds is not read to its end.
      {std::string(1 << 20, '7'), "holds no seeds"},
  };
  for (const auto& [content, problem] : cases) {
    write(content);
    SeedsRead r = read_seeds_file(path);
    EXPECT_EQ(r.state, SeedsRead::State::unusable) << content.substr(0, 20);
    EXPECT_NE(r.problem.find(path), std::string::npos) << r.problem;
    EXPECT_NE(r.problem.find(problem), std::string::npos) << r.problem;
    EXPECT_EQ(read(), content);
  }
  EXPECT_EQ(read_seeds_file(dir.string() + "/missing").state, SeedsRead::State::missing);
  EXPECT_EQ(read_seeds_file(dir.string()).state, SeedsRead::State::unusable);
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
    const std::string problem = read_seeds_file(path).problem;
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
    // What was wrong is said before the dialog.
    ASSERT_EQ(host.texts(false).size(), 1u);
    EXPECT_EQ(host.texts(false)[0], problem);
  }
}

TEST_F(SeedsFile, SymbolicLinkIsNeitherWrittenThroughNorReplaced) {
  const std::string target = (dir / "elsewhere.ini").string();
  std::ofstream(target, std::ios::binary) << "precious\n";
  std::filesystem::create_symlink(target, path);
  std::string reason;
  EXPECT_FALSE(save_seeds(Rng(5, 6), path, &reason));
  EXPECT_NE(reason.find("symbolic link"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(read(), "precious\n");
  ASSERT_TRUE(seeds_write_problem(path).has_value());
  EXPECT_NE(seeds_write_problem(path)->find("symbolic link"), std::string::npos);
}

TEST_F(SeedsFile, SaveReplacesTheFileWholeAndKeepsNothingElse) {
  write("17   23\r\n");
  EXPECT_FALSE(seeds_write_problem(path).has_value());
  ASSERT_TRUE(save_seeds(Rng(1234567, 7654321), path));
  EXPECT_EQ(read(), "1234567   7654321\r\n");
  size_t entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) entries += e.exists();
  EXPECT_EQ(entries, 1u);  // no temporary file left behind
  // A folder where the seeds file should be cannot be replaced.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  std::string reason;
  EXPECT_FALSE(save_seeds(Rng(1, 2), path, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(seeds_write_problem(path).has_value());
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
