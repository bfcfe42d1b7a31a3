#include "cli/summary_command.h"

#include <iostream>

#include "cli/command_line.h"
#include "cli/terminal_host.h"
#include "torvi/host.h"
#include "torvi/summary.h"

namespace torvi::cli {

SummaryCommand::SummaryCommand(CLI::App& app) {
  app_ = app.add_subcommand("summary", "Summarise data files before analysing them");
  app_->add_option("files", files_, "Data files (.dat) to summarise")->required();
  app_->add_flag("--json", json_, "Print one JSON document for all the files instead of text");
  app_->footer(
      "For each file: the samples with their individuals, the loci with the alleles present, their range,\n"
      "the individuals typed and the missing rate; loci monomorphic in every sample; individuals untyped at\n"
      "every locus. A file the reader refuses gets its message on standard error; the others go on.");
}

int SummaryCommand::execute() {
  std::vector<SummaryEntry> entries;
  int refused = 0;
  for (const std::string& path : files_) {
    MessageLogHost log;
    SummaryEntry e;
    e.path = path;
    e.read = summarise_data_file(log, path, e.summary);
    e.message = log.all_text();
    if (!e.message.empty()) std::cerr << "torvi: " << (e.read ? "" : "error: ") << plain_lines(e.message) << '\n';
    if (!e.read) ++refused;
    if (!json_ && e.read) std::cout << (entries.empty() ? "" : "\n") << data_summary_text(e.summary);
    entries.push_back(std::move(e));
  }
  if (json_) {
    CommandRecord command{"summary", true, remembered_arguments(), Json::object()};
    std::cout << json_text(summary_document(command, run_clock(), entries));
  }
  std::cout << std::flush;
  return refused > 0 ? 1 : 0;
}

}  // namespace torvi::cli
