#include "cli/terminal_host.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>

#include "torvi/host.h"

namespace torvi::cli {

std::string plain_lines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') ++i;
    out += text[i] == '\r' ? '\n' : text[i];
  }
  return out;
}

TerminalHost::TerminalHost(ExistingResult existing, bool quiet, bool (*stop)())
    : existing_(existing), quiet_(quiet), show_progress_(!quiet && isatty(STDERR_FILENO)), stop_(stop) {}

void TerminalHost::show_error(const std::string& text) {
  ++errors_;
  std::cerr << "torvi: error: " << plain_lines(text) << '\n';
}

void TerminalHost::show_info(const std::string& text) { std::cerr << "torvi: " << plain_lines(text) << '\n'; }

void TerminalHost::show_finished(const std::string& text) {
  if (!quiet_) show_info(text);
}

std::optional<std::string> TerminalHost::ask_result_file(const std::string&, const std::string& proposed) {
  if (existing_ == ExistingResult::skip) {
    // Not analysed: said even under --quiet.
    std::cerr << "torvi: " << proposed << " exists: file skipped (--existing skip)\n";
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
  shown_permille_ = -1;
  started_ns_ = steady_now_ns();
  if (show_progress_) draw_progress(0, true);
}

void TerminalHost::progress_step(int64_t steps) {
  int64_t done = done_ += steps;
  if (!show_progress_ || range_ <= 0) return;
  // The clock is read once per thousandth of the test, not per step.
  int permille = static_cast<int>(done * 1000 / range_);
  if (permille == shown_permille_.load(std::memory_order_relaxed)) return;
  shown_permille_ = permille;
  draw_progress(done, permille / 10 != shown_percent_.load(std::memory_order_relaxed));
}

// Redrawn at every whole percent, and in between at most a few times a second
// so that the times stay current without flooding the terminal.
void TerminalHost::draw_progress(int64_t done, bool forced) {
  constexpr int64_t kRedrawNs = 250'000'000;
  std::unique_lock<std::mutex> lock(draw_mutex_, std::try_to_lock);
  if (!lock) return;
  const int64_t now = steady_now_ns();
  if (!forced && now - drawn_ns_ < kRedrawNs) return;
  drawn_ns_ = now;
  int percent = range_ > 0 ? static_cast<int>(done * 100 / range_) : 0;
  shown_percent_ = percent;
  const ProgressTime t = progress_time(static_cast<double>(now - started_ns_) * 1e-9, done, range_);
  std::cerr << "\rrandomisations: " << done << " / " << range_ << " (" << percent << "%), " << progress_time_text(t)
            << "\033[K" << std::flush;
}

void TerminalHost::progress_end() {
  if (show_progress_) std::cerr << "\r\033[K" << std::flush;
}

void TerminalHost::note(const std::string& text) {
  if (!quiet_) std::cerr << "torvi: " << text << '\n';
}

}  // namespace torvi::cli
