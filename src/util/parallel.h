#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace torvi {

// Runs body(begin, end, worker) over [0, n) split into `threads` contiguous
// shares, worker 0 on the calling thread. The shares are fixed by n and the
// thread count only, so a caller that derives each item's random draws from
// its index (with Rng::jump) gets the same results with any thread count.
// The first exception thrown by any share is rethrown after all have ended.
template <class Body>
void parallel_shares(int threads, int64_t n, Body&& body) {
  threads = static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(threads, n)));
  if (threads <= 1) {
    if (n > 0) body(int64_t{0}, n, 0);
    return;
  }
  std::exception_ptr error;
  std::mutex error_mutex;
  auto run = [&](int w) {
    int64_t begin = n * w / threads, end = n * (w + 1) / threads;
    try {
      body(begin, end, w);
    } catch (...) {
      std::lock_guard<std::mutex> lock(error_mutex);
      if (!error) error = std::current_exception();
    }
  };
  std::vector<std::thread> pool;
  pool.reserve(static_cast<size_t>(threads - 1));
  for (int w = 1; w < threads; ++w) pool.emplace_back(run, w);
  run(0);
  for (auto& t : pool) t.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace torvi
