#include "run/json_export.h"

#include "data/data_summary.h"
#include "json/results_export.h"
#include "json/settings_file.h"
#include "json/summary_json.h"

namespace torvi {

namespace {

int flagged_count(const std::vector<uint8_t>& flags) { return flags.empty() ? 0 : static_cast<int>(flags.size()) - 1; }

}  // namespace

CommandRecord run_command_record(const RunSettings& settings) {
  RunSettingsFile file;
  file.options = settings.options;
  const Selection& sel = settings.selection;
  record_selection(sel, settings.options.label_file_checked, flagged_count(sel.sample_selected),
                   flagged_count(sel.locus_selected), file);
  return {"run", settings.from_command_line, settings.arguments, run_settings_json(file)};
}

void with_results_document(RunContext& ctx, const CommandRecord& command, const Analysis& an,
                           const std::function<void()>& sections) {
  if (!ctx.options.CB_json) {
    sections();
    return;
  }
  ResultsExport doc(command, ctx.rng, ctx.result_name, data_summary_json(summarise_data_set(an.ds, an.data_path)));
  with_document(&doc.document(), ctx.rng, [&] {
    const SectionObserverScope observing(doc.observer());
    sections();
    return ResultsStatus::complete;
  });
}

}  // namespace torvi
