// The whole biased-dispersal test, as started by the window's "GO!" or the
// command line.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "dispersal/dispersal_json.h"
#include "dispersal/dispersal_report.h"
#include "dispersal/messages.h"
#include "dispersal/observed_pass.h"
#include "dispersal/permutation_driver.h"
#include "dispersal/sex_labelled_file.h"
#include "random/seeds_file.h"
#include "report/report_text.h"
#include "torvi/dispersal.h"
#include "util/output_file.h"

namespace torvi {

namespace {

using namespace dispersal;

constexpr const char* kInputExtension = ".gen";

bool has_input_extension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == kInputExtension;
}

std::string read_input(const std::string& path) {
  if (!has_input_extension(path)) throw InputRefused(path + " is not a .gen file");
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (!in || !(text << in.rdbuf())) throw InputRefused("Cannot read " + path + ": " + std::strerror(errno));
  return text.str();
}

// Progress display of the permutations, ended however they end.
struct ProgressScope {
  ProgressScope(Host& host, int64_t range) : host(host) { host.progress_begin(range); }
  ~ProgressScope() { host.progress_end(); }
  Host& host;
};

void note_undefined(Host& host, const TestChoice& choice, const TestValues& observed) {
  for (size_t i = 0; i < choice.ticked.size(); ++i)
    if (choice.ticked[i] && !observed.d[i])
      host.note(std::string("the observed value of the test \"") + kDispersalTestItems[i] +
                "\" is not defined (a zero denominator): its P-value is NA");
}

std::string cancelled_text(int64_t done, int64_t total) {
  return "Run cancelled after " + std::to_string(done) + " of " + std::to_string(total) +
         " randomisations: no P-values." + kEol + kEol;
}

// The permutations, the ".per" file and the P-values of the ".res" file.
void test_and_report(Host& host, Rng& rng, const DispersalSettings& st, const std::string& base,
                     const ObservedData& obs, DispersalOutcome& out, ResultsDocument* doc) {
  const TestChoice choice{st.tests, st.two_sided};
  PermutationInput in{&obs.pooled, &obs.pooled_tables, &obs.sample_terms, &obs.assignment, obs.phil_sizes, choice, obs.values,
                      st.permutations, st.threads};
  AtomicFile per(out.per_path);
  std::string first;
  append_per_line(first, 0, choice, obs.values.d);
  per.write(first);
  PermutationCounts counts;
  {
    ProgressScope progress(host, st.permutations);
    counts = run_permutations(in, host, rng, [&](std::string_view lines) { per.write(lines); });
  }
  per.commit();
  out.permutations_done = counts.done;
  const int64_t total = int64_t{st.permutations} - 1;
  if (counts.cancelled) {
    append_section(out.res_path, cancelled_text(counts.done, total));
    out.status = DispersalOutcome::Status::cancelled;
    out.closing = "Bias dispersal tests cancelled after " + std::to_string(counts.done) + " of " +
                  std::to_string(total) + " randomisations: no P-values.\n\rThe observed values are in file : " +
                  out.res_path;
    return;
  }
  for (size_t i = 0; i < choice.ticked.size(); ++i)
    if (choice.ticked[i] && obs.values.d[i])
      out.p_values[i] = static_cast<long double>(counts.at_least[i] + 1) / st.permutations;
  append_section(out.res_path, p_value_text(choice, out.p_values));
  if (doc) add_dispersal_p_values(*doc, choice, out.p_values, counts, st.permutations);
  out.status = DispersalOutcome::Status::done;
  out.closing = closing_message(base, choice, out.p_values);
}

// Everything after the ".res" file's first lines: the split files, the
// observed pass, the permutations.
void split_and_test(Host& host, Rng& rng, const DispersalSettings& st, const std::string& text,
                    const std::string& base, DispersalOutcome& out, ResultsDocument* doc) {
  const SexRecords records = read_sex_labelled(text, st.input, st.phil_letter, st.disp_letter);
  out.records_beyond_np = records.beyond_np;
  out.records_over_limit = records.over_limit;
  const SplitPaths paths = split_paths(st.output_dir, base, st.phil_letter, st.disp_letter);
  write_split_files(paths, records);

  const TestChoice choice{st.tests, st.two_sided};
  const ObservedData obs = observed_pass(paths, choice, st.phil_letter, st.disp_letter);
  if (!obs.res_lines.empty()) append_section(out.res_path, obs.res_lines);
  if (doc) add_observed_sets(*doc, choice, obs, st.phil_letter, st.disp_letter);
  note_undefined(host, choice, obs.values);
  out.per_path = path_in(st.output_dir, base + ".per");
  test_and_report(host, rng, st, base, obs, out, doc);
}

void run(Host& host, Rng& rng, const DispersalSettings& st, DispersalOutcome& out) {
  if (st.permutations < 1) throw InputRefused("The number of permutations must be at least 1");
  if (auto problem = sex_letters_problem(st.phil_letter, st.disp_letter)) throw InputRefused(*problem);
  const std::string text = read_input(st.input);
  const std::string base = dispersal_base_name(st.input);
  out.res_path = path_in(st.output_dir, base + ".res");
  write_file_atomically(out.res_path, res_header(base, st.two_sided, st.permutations));
  std::optional<ResultsDocument> doc = dispersal_document(st, rng, out.res_path);
  ResultsDocument* const document = doc ? &*doc : nullptr;
  with_document(document, rng, [&] {
    split_and_test(host, rng, st, text, base, out, document);
    return out.status == DispersalOutcome::Status::cancelled ? ResultsStatus::cancelled : ResultsStatus::complete;
  });
}

}  // namespace

std::optional<std::string> sex_letters_problem(char phil_letter, char disp_letter) {
  for (char c : {phil_letter, disp_letter}) {
    if (c == 'P') return std::string(kInvalidLetterMessage);
    if (!std::isgraph(static_cast<unsigned char>(c)) || c == '/')
      return std::string("A letter for a group must be a visible character other than /");
  }
  if (phil_letter == disp_letter) return std::string("The two groups need different letters");
  return std::nullopt;
}

std::vector<std::string> skipped_records(const DispersalOutcome& out) {
  std::vector<std::string> lines;
  if (out.records_beyond_np > 0)
    lines.push_back(std::to_string(out.records_beyond_np) +
                    " records of samples beyond the number declared on line 1 were not read");
  if (out.records_over_limit > 0)
    lines.push_back(std::to_string(out.records_over_limit) + " records beyond " + std::to_string(dispersal::kMaxRecordsPerSex) +
                    " of one sex in one sample were skipped");
  return lines;
}

std::string dispersal_base_name(const std::string& input) {
  const size_t slash = input.find_last_of('/');
  const std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

DispersalOutcome run_dispersal_tests(Host& host, Rng& rng, const DispersalSettings& settings,
                                     const std::string& seeds_path) {
  DispersalOutcome out;
  try {
    run(host, rng, settings, out);
  } catch (const InputRefused& e) {
    host.show_error(e.what());
  } catch (const OutputError& e) {
    host.show_error(e.what());
  }
  // A run whose seeds could not be saved does not say it finished: the next
  // run would repeat its random numbers.
  std::string reason;
  if (!save_seeds(rng, seeds_path, &reason)) {
    out.seeds_saved = false;
    host.show_error("Cannot write " + seeds_path + ": " + reason + "\n\r" +
                    "The seeds reached were not saved: the next run would repeat this run's random numbers.");
  } else if (out.status == DispersalOutcome::Status::done) {
    host.show_finished_in(out.closing, settings.output_dir);
  } else if (out.status == DispersalOutcome::Status::cancelled) {
    host.show_info(out.closing);
  }
  return out;
}

}  // namespace torvi
