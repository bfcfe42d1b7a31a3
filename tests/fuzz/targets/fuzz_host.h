#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "host/host.h"

namespace torvi::fuzz {

// Records messages; every dialog is answered "cancel".
class RecordingHost : public Host {
 public:
  std::vector<std::string> messages;
  void show_error(const std::string& text) override { messages.push_back(text); }
  void show_info(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> ask_result_file(const std::string&, const std::string&) override { return {}; }
  std::optional<SeedTexts> ask_seed_texts() override { return {}; }
  void progress_begin(int64_t) override {}
  void progress_step(int64_t) override {}
  void progress_end() override {}
};

// A finding: the fuzzer reports the input that led here.
inline void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace torvi::fuzz
