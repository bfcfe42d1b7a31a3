#include "run/result_file.h"

#include <filesystem>

#include "util/output_file.h"

namespace torvi {

std::optional<ResultFile> open_result_file(Host& host, const std::string& base_name, const std::string& entry,
                                           const char* suffix) {
  ResultFile result{base_name + suffix, {}};
  if (std::filesystem::exists(result.name)) {
    auto chosen = host.ask_result_file("File name for the RESULT file", result.name);
    if (!chosen) return std::nullopt;
    result.name = *chosen;
  }
  std::error_code ec;
  if (std::filesystem::equivalent(result.name, entry, ec))
    throw OutputError(result.name, "it is the data file being analysed");
  append_section(result.name, {});  // creates it when missing, never truncates
  std::string reason;
  switch (result.lock.try_lock(result.name, reason)) {
    case FileLock::Result::locked:
      break;
    case FileLock::Result::held_elsewhere:
      throw OutputError(result.name, "another run of Torvi is writing to it");
    case FileLock::Result::failed:
      throw OutputError(result.name, reason);
  }
  return result;
}

}  // namespace torvi
