#pragma once

#include <cstdint>

#include "host/host.h"

namespace torvi {

// The progress display of one randomisation test: shown with its range when
// constructed, one step per randomisation, removed when destroyed (also when
// the run is cancelled). step() is where a stop asked by the host takes effect.
class Progress {
 public:
  Progress(Host& host, int64_t range) : host_(host) { host_.progress_begin(range); }
  ~Progress() { host_.progress_end(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Safe to call from worker threads.
  void step() {
    if (host_.stop_requested()) throw RunCancelled();
    host_.progress_step(1);
  }

 private:
  Host& host_;
};

}  // namespace torvi
