#include "run/run_driver.h"

#include "model/analysis.h"
#include "report/report_text.h"
#include "run/file_walk.h"
#include "run/json_export.h"
#include "run/result_file.h"
#include "run/run_sections.h"
#include "util/output_file.h"

namespace torvi {

namespace {

// Where a stop asked by the host takes effect between sections; within the
// randomisation tests it takes effect after each randomisation.
void stop_point(Host& host) {
  if (host.stop_requested()) throw RunCancelled();
}

// The sections of one data file, in their fixed order, each announced to the
// host as it starts.
void analyse(RunContext& ctx, Analysis& an) {
  const std::vector<const RunSection*> steps = run_sections(ctx.options, an.ds.np, an.ds.nl);
  const int sections = named_sections(steps);
  int section = 0;
  const char* current = "";
  try {
    for (const RunSection* step : steps) {
      if (step->name) {
        current = step->name;
        ctx.host.show_section(current, ++section, sections);
      }
      step->run(ctx, an);
      if (step->name) stop_point(ctx.host);
    }
  } catch (const RunCancelled&) {
    mark_cancelled(ctx.host, ctx.result_name, current);
    throw;
  }
}

}  // namespace

// The line is no section: it goes to the file alone, past the results
// document's capture. A failure to write it is reported, and the run still
// stops.
void mark_cancelled(Host& host, const std::string& result_name, const std::string& section) {
  try {
    std::string line = kCancelledLine;
    line += section;
    line += kEol;
    append_section(result_name, line);
  } catch (const OutputError& e) {
    host.show_error(e.what());
  }
}

RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path) {
  RunContext ctx{host, rng, settings.options, nb_perm, {}, settings.threads};
  const CommandRecord command = run_command_record(settings);
  const FileWalk walk{settings.file_list, settings.selection, settings.options.label_file_checked, kResultSuffix,
                      [&] { set_global_test_counts(settings.options, nb_perm); }};
  return walk_data_files(host, rng, walk, seeds_path, [&](Analysis& an, const std::string& result_name) {
    ctx.result_name = result_name;
    with_results_document(ctx, command, an, [&] {
      write_result_header(result_name, an.base_name);
      analyse(ctx, an);
    });
    return true;
  });
}

}  // namespace torvi
