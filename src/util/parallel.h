#pragma once

#include <algorithm>
#include <atomic>
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

// Batches 0..n-1 of items(b) items each, made in order by produce(b) on
// the calling thread and used item by item by consume(b, begin, end,
// worker) for items [begin, end) of batch b. With one thread each batch is
// made, then used. With more, the calling thread makes batch b+1 while the
// others use batch b, then joins them; the items are claimed in small runs,
// so nobody waits long for anybody. A caller whose making must stay
// sequential (one random stream) thus overlaps it with the using; batches b
// and b+1 are alive at once, so producers keep two buffers (b % 2). Each
// item is used once, by some worker (0..threads-1): results must not depend
// on which. The first exception thrown anywhere is rethrown once the batch
// in hand has ended.
template <class Items, class Produce, class Consume>
void pipelined_batches(int threads, int64_t n, Items&& items, Produce&& produce, Consume&& consume) {
  if (n <= 0) return;
  if (threads <= 1) {
    for (int64_t b = 0; b < n; ++b) {
      produce(b);
      consume(b, int64_t{0}, items(b), 0);
    }
    return;
  }
  std::exception_ptr error;
  std::mutex error_mutex;
  std::atomic<bool> failed{false};
  auto guarded = [&](auto&& work) {
    try {
      work();
    } catch (...) {
      std::lock_guard<std::mutex> lock(error_mutex);
      if (!error) error = std::current_exception();
      failed = true;
    }
  };
  std::atomic<int64_t> next{0};
  auto use = [&](int64_t b, int worker) {
    const int64_t size = items(b);
    const int64_t run = std::max<int64_t>(1, size / (8 * threads));
    guarded([&] {
      for (int64_t begin; !failed && (begin = next.fetch_add(run)) < size;)
        consume(b, begin, std::min(size, begin + run), worker);
    });
  };
  produce(0);
  std::vector<std::thread> pool;
  pool.reserve(static_cast<size_t>(threads - 1));
  for (int64_t b = 0; b < n && !failed; ++b) {
    next = 0;
    pool.clear();
    for (int w = 1; w < threads; ++w) pool.emplace_back([&, b, w] { use(b, w); });
    if (b + 1 < n) guarded([&] { produce(b + 1); });
    use(b, 0);
    for (auto& t : pool) t.join();
  }
  if (error) std::rethrow_exception(error);
}

}  // namespace torvi
