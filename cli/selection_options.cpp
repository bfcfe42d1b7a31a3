#include "cli/selection_options.h"

#include <algorithm>
#include <iostream>

#include "cli/number_list.h"
#include "cli/terminal_host.h"
#include "torvi/data_files.h"
#include "torvi/host.h"

namespace torvi::cli {

namespace {

constexpr int kMinLoci = 1;
constexpr int kMinSamples = 2;

struct Counts {
  int np = 0, nl = 0;
};

// First lines of the data files; a file whose header cannot be read is left
// to the run, which reports it.
std::vector<Counts> header_counts(const std::vector<std::string>& files) {
  std::vector<Counts> out;
  for (const std::string& f : files) {
    MessageLogHost unseen;  // the first lines are only looked at here
    DataSet ds;
    if (check_header(unseen, f, ds)) out.push_back({ds.np, ds.nl});
  }
  return out;
}

// Flags for one --loci or --samples list; false after a message.
bool choose(const std::string& option, const std::string& text, int minimum, int Counts::*count,
            const std::vector<Counts>& headers, std::vector<uint8_t>& flags, bool& checked) {
  std::string error;
  auto numbers = parse_number_list(text, error);
  if (!numbers) {
    std::cerr << "torvi: " << option << ": " << error << '\n';
    return false;
  }
  std::sort(numbers->begin(), numbers->end());
  numbers->erase(std::unique(numbers->begin(), numbers->end()), numbers->end());
  const char* what = count == &Counts::nl ? "loci" : "samples";
  if (static_cast<int>(numbers->size()) < minimum) {
    std::cerr << "torvi: " << option << ": at least " << minimum << " " << what << " must stay in use\n";
    return false;
  }
  int largest = 0;
  for (const Counts& h : headers) largest = std::max(largest, h.*count);
  for (const Counts& h : headers) {
    if (numbers->back() > h.*count) {
      std::cerr << "torvi: " << option << ": " << numbers->back() << " is outside a data file of " << h.*count
                << " " << what << '\n';
      return false;
    }
    checked = checked || static_cast<int>(numbers->size()) < h.*count;
  }
  flags.assign(static_cast<size_t>(std::max(largest, numbers->back())) + 1, 0);
  for (int n : *numbers) flags[static_cast<size_t>(n)] = 1;
  return true;
}

}  // namespace

void add_selection_options(CLI::App* app, SelectionArgs& args) {
  const char* group = "Options menu";
  app->add_option("--loci", args.loci,
                  "Loci to use: numbers of the loci to keep, 1-based, e.g. 2,5 or 1-4,7 (at least 1). The run "
                  "writes the subset data file FILE-L<loci>.dat and analyses it in place of FILE.dat")
      ->group(group);
  app->add_option("--samples", args.samples,
                  "Samples to use: numbers of the samples to keep, 1-based, e.g. 1,3 or 1-4,7 (at least 2). "
                  "The kept samples are renumbered 1, 2, ... in the subset data file FILE-P<samples>.dat")
      ->group(group);
  app->add_option("--labels", args.labels,
                  "Label file for pops: sample labels, the first 6 characters of each line in sample order "
                  "(one data file only); with --samples the kept labels go to the subset's .lab file")
      ->group(group);
}

bool build_selection(const SelectionArgs& args, const std::vector<std::string>& files, Selection& selection,
                     bool& label_file_checked) {
  selection = Selection{};
  label_file_checked = false;
  if (!args.loci && !args.samples && !args.labels) return true;
  const std::vector<Counts> headers = header_counts(files);
  if (args.loci && !choose("--loci", *args.loci, kMinLoci, &Counts::nl, headers, selection.locus_selected,
                                    selection.loci_checked))
    return false;
  if (args.samples && !choose("--samples", *args.samples, kMinSamples, &Counts::np, headers,
                                       selection.sample_selected, selection.samples_checked))
    return false;
  if (!args.labels) return true;
  if (files.size() != 1) {
    std::cerr << "torvi: --labels: a label file goes with one data file only\n";
    return false;
  }
  if (headers.empty()) return true;  // the run reports the data file
  TerminalHost host(ExistingResult::append, false);
  if (!read_label_file(host, *args.labels, headers[0].np, selection.sample_names)) return false;
  label_file_checked = true;
  return true;
}

std::vector<int> samples_analysed(const Selection& selection, const std::vector<std::string>& files) {
  std::vector<int> out;
  for (const Counts& h : header_counts(files)) {
    int kept = h.np;
    if (selection.samples_checked)
      for (int s = 1; s <= h.np; ++s) kept -= selection.sample_kept(s) ? 0 : 1;
    out.push_back(kept);
  }
  return out;
}

}  // namespace torvi::cli
