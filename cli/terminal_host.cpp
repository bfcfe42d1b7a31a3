#include "cli/terminal_host.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>

namespace torvi::cli {

std::string plain_lines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') ++i;
    out += text[i] == '\r' ? '\n' : text[i];
  }
  return out;
}

TerminalHost::TerminalHost(ExistingResult existing, bool quiet)
    : existing_(existing), quiet_(quiet), show_progress_(!quiet && isatty(STDERR_FILENO)) {}

void TerminalHost::show_error(const std::string& text) {
  ++errors_;
  std::cerr << "torvi: error: " << plain_lines(text) << '\n';
}

void TerminalHost::show_info(const std::string& text) {
  if (!quiet_) std::cerr << "torvi: " << plain_lines(text) << '\n';
}

std::optional<std::string> TerminalHost::ask_result_file(const std::string&, const std::string& proposed) {
  if (existing_ == ExistingResult::skip) {
    note(proposed + " exists: file skipped (--existing skip)");
    return std::nullopt;
  }
  return proposed;
}

std::optional<Host::SeedTexts> TerminalHost::ask_seed_texts() {
  if (!isatty(STDIN_FILENO))
    throw std::runtime_error("no usable seeds: give them with --seeds S1 S2 or set them with 'torvi seeds S1 S2'");
  SeedTexts t;
  std::cerr << "Seeds Random Number generator?\n" << "First seed? [1..2147483562] " << std::flush;
  if (!std::getline(std::cin, t.first)) throw std::runtime_error("no seeds given");
  std::cerr << "Second seed?  [1..2147483398] " << std::flush;
  if (!std::getline(std::cin, t.second)) throw std::runtime_error("no seeds given");
  return t;
}

void TerminalHost::progress_begin(int64_t range) {
  range_ = range;
  done_ = 0;
  shown_percent_ = -1;
  if (show_progress_) draw_progress(0);
}

void TerminalHost::progress_step(int64_t steps) {
  int64_t done = done_ += steps;
  if (!show_progress_ || range_ <= 0) return;
  int percent = static_cast<int>(done * 100 / range_);
  if (percent != shown_percent_.load(std::memory_order_relaxed)) draw_progress(done);
}

void TerminalHost::draw_progress(int64_t done) {
  std::unique_lock<std::mutex> lock(draw_mutex_, std::try_to_lock);
  if (!lock) return;
  int percent = range_ > 0 ? static_cast<int>(done * 100 / range_) : 0;
  shown_percent_ = percent;
  std::cerr << "\rrandomisations: " << done << " / " << range_ << " (" << percent << "%)" << std::flush;
}

void TerminalHost::progress_end() {
  if (show_progress_) std::cerr << "\r\033[K" << std::flush;
}

void TerminalHost::note(const std::string& text) {
  if (!quiet_) std::cerr << "torvi: " << text << '\n';
}

}  // namespace torvi::cli
