#include "cli/convert_command.h"

#include <functional>
#include <iostream>

#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "torvi/convert.h"

namespace torvi::cli {

namespace {

constexpr int kExitDone = 0, kExitRefused = 1, kExitUsage = 2, kExitStopped = 3;

// The terminal host of a conversion: no progress line, and the question
// "which name for a file that exists?" answered from the command line.
class ConvertHost : public TerminalHost {
 public:
  using Answer = std::function<std::optional<std::string>(const std::string& proposed)>;
  explicit ConvertHost(Answer answer)
      : TerminalHost(ExistingResult::skip, false, stop_signalled), answer_(std::move(answer)) {}

  std::optional<std::string> ask_new_file(const std::string&, const std::string& proposed) override {
    return answer_(proposed);
  }
  void progress_begin(int64_t) override {}
  void progress_step(int64_t) override {}
  void progress_end() override {}

 private:
  Answer answer_;
};

int exit_status(const ConvertOutcome& outcome) {
  if (outcome.cancelled) return kExitStopped;
  return outcome.all_done() ? kExitDone : kExitRefused;
}

}  // namespace

ConvertCommand::ConvertCommand(CLI::App& app) {
  app_ = app.add_subcommand("convert", "File conversion: data files to Genepop files and back, matrices to columns");
  app_->require_subcommand(1);

  dat2gen_ = app_->add_subcommand("dat2gen", "Torvi->Genepop: each data file to a Genepop file beside it (.gen)");
  dat2gen_->add_option("files", files_, "Data files (.dat) to convert")->required();
  dat2gen_->add_option("--existing", existing_,
                       "When the Genepop file exists: skip this data file (default) or overwrite the Genepop file")
      ->check(CLI::IsMember({"overwrite", "skip"}));
  dat2gen_->footer(
      "The Genepop file holds a title line, the locus names, then one line per individual (\"sample S ind#J , \" "
      "and its genotypes), with a \"Pop\" line wherever the sample number rises.");

  gen2dat_ = app_->add_subcommand("gen2dat", "Genepop->Torvi: a Genepop file to a data file");
  gen2dat_->add_option("file", files_, "Genepop file (.gen, or a name without extension)")->required()->expected(1);
  gen2dat_->add_option("-o,--output", output_,
                       "Data file to write, replaced when it exists (default: the Genepop file's name with .dat, "
                       "never replaced)");
  gen2dat_->footer("Each \"Pop\" line starts a new sample; the width of the first genotype (4 or 6 digits) fixes "
                   "the coding of the alleles (2 or 3 digits).");

  mat2col_ = app_->add_subcommand("mat2col", "Matrices->Columns: square matrices to one columnar file");
  mat2col_->add_option("-o,--output", output_, "File name for the Columnar file (replaced when it exists)")
      ->required();
  mat2col_->add_option("matrices", files_,
                       "File names for data in matrix form: one square matrix each, row i on line i; only the "
                       "values below the diagonal are used")
      ->required();
  mat2col_->footer("The columnar file has one line per pair of items (2,1), (3,1), (3,2), ... and one column per "
                   "matrix: the input of the regression and partial Mantel tests.");
}

int ConvertCommand::execute() {
  install_stop_signals();
  if (dat2gen_->parsed()) return data_to_genepop();
  if (gen2dat_->parsed()) return genepop_to_data();
  return matrices_to_columns();
}

int ConvertCommand::data_to_genepop() {
  const bool overwrite = existing_ == "overwrite";
  ConvertHost host([&host, overwrite](const std::string& proposed) -> std::optional<std::string> {
    if (overwrite) return proposed;
    host.note(proposed + " exists: not replaced (--existing overwrite replaces it)");
    return std::nullopt;
  });
  std::vector<std::string> data_files;
  int not_data = 0;
  for (const std::string& file : files_) {
    if (is_data_file_name(file)) {
      data_files.push_back(file);
    } else {
      host.show_error(file + " is not a data file (.dat): not converted");
      ++not_data;
    }
  }
  const int status = exit_status(convert_data_to_genepop(host, data_files));
  return status == kExitDone && not_data > 0 ? kExitRefused : status;
}

int ConvertCommand::genepop_to_data() {
  const std::string& file = files_.front();
  if (!is_genepop_file_name(file)) {
    std::cerr << "torvi: " << file << " is not a Genepop file: its name must end in .gen or have no extension\n";
    return kExitUsage;
  }
  ConvertHost host([&host](const std::string& proposed) -> std::optional<std::string> {
    host.note(proposed + " exists: not replaced (-o " + proposed + " replaces it)");
    return std::nullopt;
  });
  return exit_status(convert_genepop_to_data(host, file, output_));
}

int ConvertCommand::matrices_to_columns() {
  ConvertHost host([this](const std::string&) { return std::optional<std::string>(output_); });
  return exit_status(convert_matrices_to_columns(host, files_));
}

}  // namespace torvi::cli
