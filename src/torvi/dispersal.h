#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "json/document.h"
#include "json/settings_file.h"
#include "random/rng.h"

namespace torvi {

// Tests for sex-biased dispersal: a sex-labelled genotype file is split by
// sex, and each chosen statistic is compared between the two sexes against
// its values after the sex labels are permuted within samples.

// The seven tests, in the order of the window's list and of every output.
enum class DispersalTest { assign_t, assign_var, fst, fis, rel, ho, hs };
inline constexpr int kDispersalTestCount = 7;

// Items of the window's test list, by test.
inline constexpr std::array<const char*, kDispersalTestCount> kDispersalTestItems = {
    "Mean assignment (t-test)", "Variance of Assignment", "Fst ", "Fis ", "Relatedness", "Ho", "Hs"};

// Short names of the tests on the command line, by test.
inline constexpr std::array<const char*, kDispersalTestCount> kDispersalTestNames = {
    "assign-t", "assign-var", "fst", "fis", "rel", "ho", "hs"};

// Permutation counts the window offers (the observed data counted as one).
inline constexpr int32_t kDispersalMinPermutations = 100;
inline constexpr int32_t kDispersalMaxPermutations = 10000;
inline constexpr int32_t kDispersalPermutationStep = 100;
inline constexpr char kDefaultPhilLetter = 'F';
inline constexpr char kDefaultDispLetter = 'M';

// Shown when a sex letter is P, which starts a sample separator instead.
inline constexpr const char* kInvalidLetterMessage =
    "P is an invalid indicator,\n\rchoose another letter and modify the input file accordingly";

// Why two sex letters cannot be used, or nothing: P (kInvalidLetterMessage),
// the same letter for both groups, or a character that cannot stand in a
// file name (the split files are named after the letters).
std::optional<std::string> sex_letters_problem(char phil_letter, char disp_letter);

struct DispersalSettings {
  std::string input;       // the sex-labelled file, ending ".gen"
  std::string output_dir;  // folder of the split, ".res" and ".per" files ("" = working directory)
  char phil_letter = kDefaultPhilLetter;  // the more philopatric sex
  char disp_letter = kDefaultDispLetter;  // the other sex
  int32_t permutations = kDispersalMinPermutations;  // N: N - 1 permutations are drawn
  std::array<bool, kDispersalTestCount> tests{false, false, true, false, false, false, false};
  bool two_sided = false;
  int threads = 1;
  // When set, the results document goes beside the ".res" file
  // (BASE.res.torvi.json), recording this command with these settings.
  std::optional<CommandRecord> results_document;
};

struct DispersalOutcome {
  enum class Status { done, refused, cancelled };
  Status status = Status::refused;
  // P of each ticked test; nothing for a test not ticked or whose observed
  // value is not defined (written "NA").
  std::array<std::optional<long double>, kDispersalTestCount> p_values{};
  int64_t permutations_done = 0;
  int64_t records_beyond_np = 0;    // records of samples past the declared count, not read
  int64_t records_over_limit = 0;   // records past the per-sex limit of a sample, not written
  std::string res_path, per_path;   // the result files (empty until written)
  std::string closing;              // the closing message shown
  bool seeds_saved = true;
};

// What a settings file of the window holds: the input, the letters, the
// permutations, the tests, the sides, the box "Also write a JSON file" (not
// the output folder nor the threads), and the seeds when asked for.
struct DispersalSettingsFile {
  DispersalSettings settings;
  std::optional<Rng> seeds;
  bool json = false;  // "Also write a JSON file"
};

// The settings as documents record them (also the "settings" of a results
// document): input, phil, disp, permutations, tests (command-line names),
// two_sided.
Json dispersal_settings_json(const DispersalSettings& settings);
Json dispersal_settings_document(const DispersalSettingsFile& s);
// Throws SettingsError naming the key for an unknown key, a value of the
// wrong type or out of range (letters sex_letters_problem refuses,
// permutations outside 100..10000, an unknown test), or another page.
DispersalSettingsFile parse_dispersal_settings(const Json& doc);
// Replaced only once complete; OutputError names the file and the reason.
void write_dispersal_settings_file(const std::string& path, const DispersalSettingsFile& s);
// SettingsError names the file when it cannot be read or used.
DispersalSettingsFile read_dispersal_settings_file(const std::string& path);

// What a run left out of the tests, one sentence each: records of samples
// beyond the number declared on line 1, records beyond the per-sex limit of
// a sample. Empty when nothing was left out.
std::vector<std::string> skipped_records(const DispersalOutcome& outcome);

// Name of the input without its folder and its last four characters: the
// stem of every file the tests write.
std::string dispersal_base_name(const std::string& input);

// The whole test ("GO!"): split files, observed pass, permutations, ".res"
// and ".per", closing message. Messages, progress and cancellation go
// through `host`; the generator's state is saved to `seeds_path` at the end.
// Letters that sex_letters_problem refuses end the command with its message.
DispersalOutcome run_dispersal_tests(Host& host, Rng& rng, const DispersalSettings& settings,
                                     const std::string& seeds_path);

}  // namespace torvi
