#include "json/document.h"

namespace torvi {

Json document_head(const char* format, const CommandRecord& command, const RunClock& clock) {
  Json doc = Json::object();
  doc["format"] = format;
  doc["format_version"] = kDocumentFormatVersion;
  doc["program"] = {{"name", "torvi"}, {"version", TORVI_VERSION}};
  Json cmd = Json::object();
  cmd["tool"] = command.tool;
  cmd["from"] = command.from_command_line ? "command line" : "desktop program";
  if (command.from_command_line) cmd["arguments"] = command.arguments;
  cmd["settings"] = command.settings.is_null() ? Json::object() : command.settings;
  doc["command"] = std::move(cmd);
  doc["time"] = {{"utc", utc_text(clock.seconds)},
                 {"source", clock.from_source_date_epoch ? "SOURCE_DATE_EPOCH" : "clock"}};
  return doc;
}

Json seeds_json(const Rng& rng) { return Json::array({rng.seed1, rng.seed2}); }

}  // namespace torvi
