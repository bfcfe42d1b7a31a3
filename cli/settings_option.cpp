#include "cli/settings_option.h"

#include <iostream>
#include <utility>
#include <variant>

#include "cli/command_line.h"
#include "torvi/data_files.h"
#include "torvi/host.h"

namespace torvi::cli {

namespace {

// Which controls each option of `torvi run` sets: given on the command line,
// they take the command line's value over the file's.
using Fields = std::vector<std::variant<bool RunOptions::*, int32_t RunOptions::*, NominalLevel RunOptions::*,
                                        PopDiff RunOptions::*, LdTests RunOptions::*>>;

const std::vector<std::pair<const char*, Fields>> kOptionFields = {
    {"--allele-freq", {&RunOptions::CB_allfreq}},
    {"--genotype-freq", {&RunOptions::CB_genotfreq}},
    {"--nb-alleles", {&RunOptions::CB_nal}},
    {"--richness", {&RunOptions::CB_Rar}},
    {"--gene-div", {&RunOptions::CB_genediv}},
    {"--fis", {&RunOptions::CB_fis}},
    {"--nei", {&RunOptions::CB_nei}},
    {"--wc", {&RunOptions::CB_WC}},
    {"--rst", {&RunOptions::CB_Rst}},
    {"--fst-pairs", {&RunOptions::CB_Fstpp}},
    {"--hw-within", {&RunOptions::SpinEdit1, &RunOptions::CB_HWW}},
    {"--hw-overall", {&RunOptions::SpinEdit2, &RunOptions::CB_HWO}},
    {"--popdiff", {&RunOptions::RG_popdif}},
    {"--hw-per-sample", {&RunOptions::CB_IFis}},
    {"--level", {&RunOptions::RG_MT}},
    {"--perm", {&RunOptions::SpinEdit5}},
    {"--pairwise-tests", {&RunOptions::CB_PPFst}},
    {"--ld-delta", {&RunOptions::CB_dp}},
    {"--ld-r2", {&RunOptions::CB_r}},
    {"--ld-details", {&RunOptions::CB_details}},
    {"--ld-tables", {&RunOptions::CB_Savetables}},
    {"--ld-tests", {&RunOptions::RG_GDT}},
    {"--ld-level", {&RunOptions::RG_MTG}},
    {"--ld-perm", {&RunOptions::SpinEdit8}},
    {"--json", {&RunOptions::CB_json}},
};

std::string number_list_text(const std::vector<int>& numbers) {
  std::string out;
  for (int n : numbers) {
    if (!out.empty()) out += ',';
    out += std::to_string(n);
  }
  return out;
}

// The command line's values (as `torvi run` maps them) over the file's.
RunOptions merged_options(const CLI::App& run, const RunOptions& file, const RunOptions& command_line,
                          const RunArgs& a) {
  RunOptions o = file;
  for (const auto& [name, fields] : kOptionFields) {
    if (!option_given(run, name)) continue;
    for (const auto& field : fields) std::visit([&](auto member) { o.*member = command_line.*member; }, field);
  }
  // The differentiation count goes to the spin edit of the item in force.
  if (option_given(run, "--popdiff-perm")) {
    if (o.RG_popdif == PopDiff::not_assuming_hw) o.SpinEdit3 = a.popdiff_perm;
    if (o.RG_popdif == PopDiff::assuming_hw) o.SpinEdit4 = a.popdiff_perm;
  }
  o.label_file_checked = command_line.label_file_checked;
  return o;
}

}  // namespace

void add_settings_option(CLI::App* run, RunArgs& a) {
  run->add_option("--settings", a.settings_file,
                  "Run settings file (File > Save run settings... of the desktop program): every control of the "
                  "first page, the loci, samples and labels chosen and, when saved with them, the seeds. Options "
                  "given here override single values")
      ->group("Run");
}

std::optional<RunSettingsFile> apply_settings_file(const CLI::App& run, RunArgs& a) {
  RunSettingsFile file;
  try {
    file = read_run_settings_file(a.settings_file);
  } catch (const SettingsError& e) {
    std::cerr << "torvi: --settings: " << e.what() << '\n';
    return std::nullopt;
  }
  a.settings.options = merged_options(run, file.options, a.settings.options, a);
  if (file.loci && !option_given(run, "--loci")) a.selection.loci = number_list_text(*file.loci);
  if (file.samples && !option_given(run, "--samples")) a.selection.samples = number_list_text(*file.samples);
  if (file.seeds && !option_given(run, "--seeds")) a.seeds = {file.seeds->seed1, file.seeds->seed2};
  return file;
}

bool apply_settings_labels(const CLI::App& run, const RunSettingsFile& file, RunArgs& a) {
  if (!file.sample_labels || option_given(run, "--labels")) return true;
  if (a.settings.file_list.size() != 1) {
    std::cerr << "torvi: --settings: sample labels go with one data file only\n";
    return false;
  }
  MessageLogHost unseen;  // the run reports a file it cannot read
  DataSet header;
  if (!check_header(unseen, a.settings.file_list[0], header)) return true;
  RunSettingsFile labels_only;
  labels_only.sample_labels = file.sample_labels;
  try {
    a.settings.selection.sample_names = selection_for_file(labels_only, header.np, header.nl).sample_names;
  } catch (const SettingsError& e) {
    std::cerr << "torvi: --settings: " << e.what() << '\n';
    return false;
  }
  a.settings.options.label_file_checked = true;
  return true;
}

}  // namespace torvi::cli
