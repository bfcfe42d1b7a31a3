#include "cli/command_line.h"

namespace torvi::cli {

namespace {
std::vector<std::string>& arguments() {
  static std::vector<std::string> args;
  return args;
}
}  // namespace

void remember_arguments(int argc, const char* const* argv) { arguments().assign(argv + (argc > 0 ? 1 : 0), argv + argc); }

const std::vector<std::string>& remembered_arguments() { return arguments(); }

void add_json_flag(CLI::App* app, bool& json, const std::string& where, const std::string& group) {
  app->add_flag("--json", json,
                "Also write a JSON file, " + where +
                    ": the command, the seeds at start and at end, every value at full precision and each P-value "
                    "with its count and N (layout in docs/torvi.schema.json)")
      ->group(group);
}

std::optional<CommandRecord> results_document_if(bool json, const char* tool) {
  if (!json) return std::nullopt;
  return CommandRecord{tool, true, remembered_arguments(), Json::object()};
}

bool option_given(const CLI::App& app, const std::string& name) {
  const CLI::Option* opt = app.get_option_no_throw(name);
  return opt && opt->count() > 0;
}

}  // namespace torvi::cli
