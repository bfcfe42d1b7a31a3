// torvi: the command line of Torvi.
//   torvi run [OPTIONS] FILE.dat...   analyse data files (one result file each)
//   torvi groups [OPTIONS] FILE.dat...  compare groups of samples (FILE_test.out each)
//   torvi seeds S1 S2                 set the seeds of the random number generator
//   torvi summary [--json] FILE.dat...  what each data file holds
//   torvi dispersal [OPTIONS] FILE.gen   tests for sex-biased dispersal
//   torvi convert dat2gen|gen2dat|mat2col ...   file conversions

#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/command_line.h"
#include "cli/convert_command.h"
#include "cli/dispersal_command.h"
#include "cli/groups_command.h"
#include "cli/mantel_command.h"
#include "cli/run_command.h"
#include "cli/seeds_command.h"
#include "cli/summary_command.h"

using namespace torvi;

namespace {

constexpr int kExitUsage = 2;

// Help and version end with status 0; every other parse error is a usage
// error: one line, status 2.
int usage_error(const CLI::App& app, const CLI::ParseError& e) {
  if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e);
  std::string text = e.what();
  for (char& c : text)
    if (c == '\n') c = ' ';
  std::cerr << "torvi: " << text << " (see torvi --help)\n";
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Torvi: population genetics of diploid codominant multilocus genotypes (microsatellites).\n"
      "Each data file (.dat) gets a result file beside it (.out), one section per chosen statistic or test."};
  app.set_version_flag("--version", std::string("torvi ") + TORVI_VERSION);
  app.require_subcommand(1);

  cli::RunCommand run(app);
  cli::GroupsCommand groups(app);
  cli::SeedsCommand seeds(app);
  cli::SummaryCommand summary(app);
  cli::MantelCommand mantel(app);
  cli::ConvertCommand convert(app);
  cli::remember_arguments(argc, argv);
  cli::DispersalCommand dispersal(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return usage_error(app, e);
  }
  if (run.chosen()) return run.execute();
  if (groups.chosen()) return groups.execute();
  if (summary.chosen()) return summary.execute();
  if (dispersal.chosen()) return dispersal.execute();
  if (mantel.chosen()) return mantel.execute();
  if (convert.chosen()) return convert.execute();
  return seeds.execute();
}
