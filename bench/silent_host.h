#pragma once

#include <optional>
#include <string>

#include "host/host.h"

namespace torvi::bench {

// A host for benchmarks: shows nothing, appends to existing result files and
// never asks for seeds.
class SilentHost : public Host {
 public:
  void show_error(const std::string&) override {}
  void show_info(const std::string&) override {}
  std::optional<std::string> ask_result_file(const std::string&, const std::string& proposed) override {
    return proposed;
  }
  std::optional<SeedTexts> ask_seed_texts() override { return std::nullopt; }
  void progress_begin(int64_t) override {}
  void progress_step(int64_t) override {}
  void progress_end() override {}
};

}  // namespace torvi::bench
