#pragma once

#include <atomic>
#include <cstdint>

namespace torvi::gui {

// Progress of the running randomisation test, written by the run's threads
// and read by the window's timer; every member is lock-free.
struct RunProgress {
  std::atomic<bool> active{false};
  std::atomic<int64_t> range{0};
  std::atomic<int64_t> done{0};
  std::atomic<int64_t> started_ns{0};  // steady clock when the test began
  std::atomic<bool> stop{false};  // Cancel was pressed
};

}  // namespace torvi::gui
