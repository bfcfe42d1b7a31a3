#include "cli/mantel_settings_option.h"

#include <iostream>

#include "cli/command_line.h"
#include "torvi/regress.h"

namespace torvi::cli {

namespace {

void take_file_values(const CLI::App& app, const regress::MantelSettingsFile& s, MantelArgs& a) {
  if (!option_given(app, "--input")) a.input = s.input;
  if (!option_given(app, "--output")) a.output = s.output;
  if (!option_given(app, "--dep")) a.dependent = s.dependent;
  if (!option_given(app, "--expl")) a.explanatory = s.explanatory;
  if (!option_given(app, "--randomisations")) a.randomisations = s.randomisations;
  if (!option_given(app, "--distance")) a.distance = s.distance;
  if (!option_given(app, "--json")) a.json = s.json;
  if (!option_given(app, "--seeds") && s.seeds) a.seeds = {s.seeds->seed1, s.seeds->seed2};
  if (s.save_residuals && !option_given(app, "--residuals"))
    std::cerr << "torvi: the settings file asks for the residuals: name their file with --residuals\n";
}

}  // namespace

void add_mantel_settings_option(CLI::App* mantel, std::string& path) {
  mantel->add_option("--settings", path,
                     "A settings file of the regression window (File > Save run settings...): its table, output "
                     "file, model, randomisations, distance and JSON boxes and seeds; options given here override "
                     "single values");
}

bool apply_mantel_settings(const CLI::App& app, const std::string& path, MantelArgs& a) {
  if (!path.empty()) {
    try {
      take_file_values(app, regress::read_mantel_settings_file(path), a);
    } catch (const SettingsError& e) {
      std::cerr << "torvi: " << e.what() << '\n';
      return false;
    }
  }
  if (a.input.empty() || a.output.empty() || a.dependent < 1 || a.explanatory.empty()) {
    std::cerr << "torvi: mantel needs the table, the output file and the model: --input, --output, --dep and "
                 "--expl, or a --settings file that names them\n";
    return false;
  }
  return true;
}

}  // namespace torvi::cli
