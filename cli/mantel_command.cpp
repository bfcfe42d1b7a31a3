#include "cli/mantel_command.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <set>

#include "cli/command_line.h"
#include "cli/command_stream.h"
#include "cli/mantel_settings_option.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "torvi/seeds.h"
#include "torvi/regress.h"

namespace torvi::cli {

namespace {

constexpr int kExitRefused = 1, kExitUsage = 2, kExitStopped = 3;
constexpr int kCounterWidth = 8;
constexpr int64_t kCounterEvery = 50;  // randomisations between two counter updates

// The terminal host with the regression's progress counter: the number of
// the data set being fitted, on standard error when it is a terminal.
class MantelHost : public TerminalHost {
 public:
  explicit MantelHost(bool quiet)
      : TerminalHost(ExistingResult::append, quiet, stop_signalled), counter_(!quiet && isatty(STDERR_FILENO)) {}

  void progress_begin(int64_t) override { done_ = 0; }
  void progress_step(int64_t steps) override {
    const int64_t before = done_.fetch_add(steps);
    if (counter_ && (before + steps) / kCounterEvery != before / kCounterEvery) {
      std::lock_guard<std::mutex> lock(mutex_);
      std::cerr << '\r' << integer(done_.load() + 1, kCounterWidth) << std::flush;
    }
  }
  void progress_end() override {
    if (counter_) std::cerr << '\r' << integer(done_.load() + 1, kCounterWidth) << '\n';
  }

 private:
  bool counter_;
  std::atomic<int64_t> done_{0};
  std::mutex mutex_;
};

// Problems of the variable numbers that need no file.
std::string variables_problem(const MantelArgs& a) {
  std::set<int> seen{a.dependent};
  for (int k : a.explanatory) {
    if (k < 1) return "--expl: variable numbers start at 1";
    if (!seen.insert(k).second)
      return "--expl: variable " + std::to_string(k) + " is chosen twice (or is the dependent variable)";
  }
  return {};
}

// The input's header. A request that cannot run leaves the output untouched;
// a refused header, as when the window opens the file, leaves the opening
// lines in it.
regress::ColumnHeader read_header(const MantelArgs& a) {
  std::optional<std::string> title;
  try {
    return regress::read_column_header(a.input, [&](const std::string& t) { title = t; });
  } catch (const regress::InputError&) {
    if (title) append_section(a.output, regress::opening_lines(*title, a.input));
    throw;
  }
}

// Reads the input, writes its opening lines to the output and runs the
// regression; the exit status.
int run(const MantelArgs& a, Rng& rng, Host& host) {
  regress::MantelRequest q;
  q.dependent = a.dependent;
  q.explanatory = a.explanatory;
  q.randomisations = a.randomisations;
  q.distance = a.distance;
  q.output_path = a.output;
  q.residuals_path = a.residuals;
  q.threads = a.threads;
  q.input_path = a.input;
  q.results_document = results_document_if(a.json, "mantel");
  try {
    q.header = read_header(a);
    if (const std::string problem = regress::request_problem(q); !problem.empty()) {
      std::cerr << "torvi: " << problem << '\n';
      return kExitUsage;
    }
    append_section(a.output, regress::opening_lines(q.header.title, a.input));
    const std::vector<float> rows = regress::read_column_rows(a.input, q.header);
    regress::run_mantel(q, rows, rng, host);
  } catch (const regress::InputError& e) {
    host.show_error(e.what());
    return kExitRefused;
  } catch (const regress::SingularMatrix& e) {
    std::cout << e.what() << std::endl;
    return kExitRefused;
  } catch (const OutputError& e) {
    host.show_error(e.what());
    return kExitRefused;
  } catch (const RunCancelled&) {
    std::cerr << "torvi: run cancelled: the report in " << a.output << " has no P-values\n";
    return kExitStopped;
  }
  return 0;
}

}  // namespace

MantelCommand::MantelCommand(CLI::App& app) {
  app_ = app.add_subcommand("mantel",
                            "Multiple regression and partial Mantel: regress one column of a table in columnar form "
                            "on others and test every coefficient by randomisation");
  MantelArgs& a = args_;
  app_->add_option("--input", a.input,
                   "Data (in columnar mode only): a title line, the numbers of rows and of variables, one name per "
                   "line, then one row of numbers per line (as Matrices->Columns writes them)");
  app_->add_option("--dep", a.dependent, "Dependant variable: its number in the file's list of variables (1, 2, ...)")
      ->check(CLI::PositiveNumber);
  app_->add_option("--expl", a.explanatory,
                   "Explanatory variables: their numbers, in the order of the model, separated by commas; each one "
                   "is tested given those before it")
      ->delimiter(',');
  a.randomisations = regress::kDefaultRandomisations;
  app_->add_option("--randomisations", a.randomisations,
                   "# randomisations: data sets counting the observed one (200..20000, default 2000); the smallest "
                   "P-value is 1 / this number")
      ->check(CLI::Range(regress::kMinRandomisations, regress::kMaxRandomisations));
  app_->add_flag("--distance", a.distance,
                 "Data from distance matrices: the rows are the cells (2,1), (3,1), (3,2), (4,1), ... of the lower "
                 "triangle of N x N matrices; the N objects are shuffled (Mantel and partial Mantel tests) instead of "
                 "the rows");
  app_->add_option("--residuals", a.residuals,
                   "Save residuals: write the estimate and the residual of every row to this file (.res), anew");
  app_->add_option("--output", a.output, "save output of Multreg/Mantel in: the report is appended to this file");
  add_mantel_settings_option(app_, a.settings);
  add_json_flag(app_, a.json, "OUTPUT.torvi.json beside the output file (less a final .out)", "Run");
  add_stream_options(app_, a.seeds, a.threads, a.quiet, "Run");
  app_->footer(
      "The output file gets the input's title line and \"data from the file : \" with its path, then the report.\n"
      "Example: torvi mantel --input columns.txt --dep 3 --expl 1,2 --distance --randomisations 10000 --output "
      "mantel.txt");
}

int MantelCommand::execute() {
  if (!apply_mantel_settings(*app_, args_.settings, args_)) return kExitUsage;
  if (const std::string problem = variables_problem(args_); !problem.empty()) {
    std::cerr << "torvi: " << problem << '\n';
    return kExitUsage;
  }
  install_stop_signals();
  MantelHost host(args_.quiet);
  CommandStream stream;
  if (!stream.open(host, args_.seeds)) return kExitUsage;
  const int status = run(args_, stream.rng, host);
  // The stream reached, whatever happened: the next command continues it.
  std::string reason;
  if (!save_seeds(stream.rng, kSeedsFileName, &reason)) {
    std::cerr << "torvi: error: the seeds reached could not be saved to " << kSeedsFileName << ": " << reason << '\n';
    return status == 0 ? kExitRefused : status;
  }
  return status;
}

}  // namespace torvi::cli
