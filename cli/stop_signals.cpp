#include "cli/stop_signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

namespace torvi::cli {

namespace {

std::atomic<int> g_stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "used from a signal handler");

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void on_stop_signal(int sig) {
  if (g_stop_signal.exchange(sig) != 0) {
    // The second signal: end at once, by the signal's own default action.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    return;
  }
  static const char kText[] = "\ntorvi: stopping after the current randomisation (a second signal stops at once)\n";
  (void)!::write(STDERR_FILENO, kText, sizeof kText - 1);
}

}  // namespace

void install_stop_signals() {
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kStopSignals) {
    // A signal ignored by whoever started us (nohup, a background job of a
    // script) stays ignored.
    struct sigaction old {};
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(sig, &action, nullptr);
  }
  std::signal(SIGXFSZ, SIG_IGN);
}

bool stop_signalled() { return g_stop_signal.load() != 0; }

}  // namespace torvi::cli
