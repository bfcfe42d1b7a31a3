#include "util/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace torvi {
namespace {

TEST(ParallelShares, EveryItemOnceInSharesFixedByTheThreadCount) {
  for (int threads : {1, 2, 3, 8}) {
    std::vector<std::atomic<int>> seen(10);
    std::vector<std::atomic<int>> worker_of(10);
    parallel_shares(threads, 10, [&](int64_t begin, int64_t end, int w) {
      for (int64_t i = begin; i < end; ++i) {
        ++seen[static_cast<size_t>(i)];
        worker_of[static_cast<size_t>(i)] = w;
      }
    });
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(seen[i], 1) << threads;
    if (threads == 3) {  // shares 0-2, 3-5, 6-9
      EXPECT_EQ(worker_of[2], 0);
      EXPECT_EQ(worker_of[3], 1);
      EXPECT_EQ(worker_of[6], 2);
    }
  }
  EXPECT_THROW(parallel_shares(2, 4, [](int64_t begin, int64_t, int) {
                 if (begin > 0) throw std::runtime_error("worker failed");
               }),
               std::runtime_error);
}

// Batches are made in order on one thread and each item used once, after
// its batch was made and while at most the next one is being made.
TEST(PipelinedBatches, MadeInOrderEachItemUsedOnceAfterItsBatchIsMade) {
  for (int threads : {1, 2, 4}) {
    constexpr int64_t kBatches = 7, kItems = 50;
    std::vector<int64_t> made;
    std::atomic<int64_t> last_made{-1};
    std::vector<std::atomic<int>> used(kBatches * kItems);
    std::atomic<bool> out_of_order{false}, bad_worker{false};
    pipelined_batches(
        threads, kBatches, [](int64_t b) { return b == 3 ? int64_t{0} : kItems; },
        [&](int64_t b) {
          made.push_back(b);
          last_made = b;
        },
        [&](int64_t b, int64_t begin, int64_t end, int worker) {
          if (last_made < b || last_made > b + 1) out_of_order = true;
          if (worker < 0 || worker >= threads) bad_worker = true;
          for (int64_t i = begin; i < end; ++i) ++used[static_cast<size_t>(b * kItems + i)];
        });
    EXPECT_EQ(made, (std::vector<int64_t>{0, 1, 2, 3, 4, 5, 6})) << threads;
    EXPECT_FALSE(out_of_order) << threads;
    EXPECT_FALSE(bad_worker) << threads;
    for (int64_t k = 0; k < kBatches * kItems; ++k)
      EXPECT_EQ(used[static_cast<size_t>(k)], k / kItems == 3 ? 0 : 1) << threads << " item " << k;
  }
}

TEST(PipelinedBatches, StopsAtTheFirstFailure) {
  for (int threads : {1, 3}) {
    std::atomic<int64_t> batches_used{0};
    EXPECT_THROW(pipelined_batches(
                     threads, 100, [](int64_t) { return int64_t{1}; }, [](int64_t) {},
                     [&](int64_t b, int64_t, int64_t, int) {
                       ++batches_used;
                       if (b == 2) throw std::runtime_error("stopped");
                     }),
                 std::runtime_error);
    EXPECT_EQ(batches_used, 3) << threads;
  }
}

}  // namespace
}  // namespace torvi
