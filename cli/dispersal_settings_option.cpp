#include "cli/dispersal_settings_option.h"

#include <iostream>

#include "cli/command_line.h"
#include "torvi/dispersal.h"

namespace torvi::cli {

namespace {

// The ticked tests as --tests takes them.
std::string tests_text(const std::array<bool, kDispersalTestCount>& tests) {
  std::string text;
  for (size_t i = 0; i < tests.size(); ++i)
    if (tests[i]) {
      if (!text.empty()) text += ',';
      text += kDispersalTestNames[i];
    }
  return text.empty() ? "none" : text;
}

void take_file_values(const CLI::App& app, const DispersalSettingsFile& file, DispersalArgs& a) {
  const DispersalSettings& s = file.settings;
  if (!option_given(app, "file")) a.file = s.input;
  if (!option_given(app, "--phil")) a.phil = std::string(1, s.phil_letter);
  if (!option_given(app, "--disp")) a.disp = std::string(1, s.disp_letter);
  if (!option_given(app, "--perm")) a.permutations = s.permutations;
  if (!option_given(app, "--tests")) a.tests = tests_text(s.tests);
  if (!option_given(app, "--two-sided")) a.two_sided = s.two_sided;
  if (!option_given(app, "--json")) a.json = file.json;
  if (!option_given(app, "--seeds") && file.seeds) a.seeds = {file.seeds->seed1, file.seeds->seed2};
}

}  // namespace

void add_dispersal_settings_option(CLI::App* dispersal, std::string& path) {
  dispersal->add_option("--settings", path,
                        "A settings file of the window \"Bias dispersal tests\" (File > Save run settings...): its "
                        "file, letters, permutations, tests, sides, JSON box and seeds; options given here override "
                        "single values");
}

bool apply_dispersal_settings(const CLI::App& app, const std::string& path, DispersalArgs& a) {
  if (!path.empty()) {
    try {
      take_file_values(app, read_dispersal_settings_file(path), a);
    } catch (const SettingsError& e) {
      std::cerr << "torvi: " << e.what() << '\n';
      return false;
    }
  }
  if (a.file.empty() || a.permutations < kDispersalMinPermutations) {
    std::cerr << "torvi: dispersal needs the file and --perm, or a --settings file that names them\n";
    return false;
  }
  return true;
}

}  // namespace torvi::cli
