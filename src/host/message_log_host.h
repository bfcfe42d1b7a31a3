#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace torvi {

// A host for work that shows nothing while it runs (reading a file to
// summarise it, on any thread): messages are kept for the caller to show
// afterwards, every dialog is answered as cancelled, progress is ignored.
class MessageLogHost : public Host {
 public:
  struct Message {
    bool error;
    std::string text;
  };

  void show_error(const std::string& text) override { messages_.push_back({true, text}); }
  void show_info(const std::string& text) override { messages_.push_back({false, text}); }
  std::optional<std::string> ask_result_file(const std::string&, const std::string&) override { return {}; }
  std::optional<SeedTexts> ask_seed_texts() override { return {}; }
  void progress_begin(int64_t) override {}
  void progress_step(int64_t) override {}
  void progress_end() override {}

  const std::vector<Message>& messages() const { return messages_; }
  // Every message, one after the other, separated by an empty line.
  std::string all_text() const {
    std::string out;
    for (const Message& m : messages_) out += (out.empty() ? "" : "\n\n") + m.text;
    return out;
  }
  void clear() { messages_.clear(); }

 private:
  std::vector<Message> messages_;
};

}  // namespace torvi
