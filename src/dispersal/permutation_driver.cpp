#include "dispersal/permutation_driver.h"

#include <algorithm>
#include <atomic>
#include <numeric>

#include "dispersal/dispersal_report.h"
#include "util/parallel.h"

namespace torvi::dispersal {

namespace {

// Orders of one batch held at once (two batches are alive), and the most
// permutations a batch holds.
constexpr int64_t kBatchEntries = int64_t{1} << 20;
constexpr int64_t kMaxBatch = 256;
// Room for one ".per" line: the number and a value per test, each widened a little.
constexpr size_t kPerLineRoom = 16 + 16 * kDispersalTestCount;

// What one worker needs to evaluate a permutation, sized once.
struct Workspace {
  CountTables phil, disp;
  std::vector<long double> sums;
};

// The values of the ticked tests with individuals in `order`.
TestValues permuted_values(const PermutationInput& in, const int32_t* order, Workspace& w) {
  TestValues v;
  if (in.choice.any_assignment())
    assignment_values(in.choice, assignment_statistics(*in.terms, order, in.phil_sizes, w.sums.data()), v);
  if (in.choice.any_set_statistic()) {
    const IndexedSet& pooled = *in.pooled;
    w.phil.clear();
    for (int32_t s = 1; s <= pooled.np; ++s) {
      const int32_t first = pooled.cumulative[static_cast<size_t>(s) - 1];
      for (int32_t pos = first; pos < first + in.phil_sizes[static_cast<size_t>(s)]; ++pos) w.phil.add(pooled, order[pos], s);
    }
    w.disp.difference(*in.pooled_tables, w.phil);
    set_values(in.choice, set_statistics(w.phil, pooled.locus_first, *in.sample_terms),
               set_statistics(w.disp, pooled.locus_first, *in.sample_terms), v);
  }
  return v;
}

// The permutations in batches: drawn in stream order on the calling thread,
// evaluated on any thread, counted and written in permutation order.
class PermutationRun {
 public:
  PermutationRun(const PermutationInput& in, Host& host, Rng& rng, const std::function<void(std::string_view)>& sink)
      : in_(in), host_(host), rng_(rng), sink_(sink), ni_(in.pooled->ni) {
    total_ = std::max<int64_t>(0, int64_t{in.permutations} - 1);
    batch_ = std::clamp<int64_t>(kBatchEntries / std::max<int64_t>(ni_, 1), 1, kMaxBatch);
    start_.resize(static_cast<size_t>(ni_));
    std::iota(start_.begin(), start_.end(), 0);
    for (int i = 0; i < 2; ++i) {
      orders_[i].resize(static_cast<size_t>(batch_ * ni_));
      results_[i].resize(static_cast<size_t>(batch_));
    }
    lines_.reserve(static_cast<size_t>(batch_) * kPerLineRoom);
    const int workers = std::max(1, in.threads);
    for (int w = 0; w < workers; ++w)
      work_.push_back({CountTables(in.pooled->np, in.pooled->nl, in.pooled->alleles()),
                       CountTables(in.pooled->np, in.pooled->nl, in.pooled->alleles()),
                       std::vector<long double>(static_cast<size_t>(in.pooled->nl))});
  }

  int64_t batches() const { return (total_ + batch_ - 1) / batch_; }
  int64_t items(int64_t b) const { return std::min(batch_, total_ - b * batch_); }

  void produce(int64_t b) {
    flush_complete();
    if (host_.stop_requested()) throw RunCancelled();
    const bool chained = in_.choice.any_set_statistic();
    consumed_[b % 2] = 0;
    for (int64_t i = 0; i < items(b); ++i) {
      int32_t* order = orders_[b % 2].data() + i * ni_;
      std::copy(start_.begin(), start_.end(), order);
      permute_within_samples(order, in_.pooled->cumulative, rng_);
      if (chained) std::copy(order, order + ni_, start_.begin());
    }
    produced_ = b + 1;
  }

  void consume(int64_t b, int64_t begin, int64_t end, int worker) {
    for (int64_t i = begin; i < end; ++i)
      results_[b % 2][static_cast<size_t>(i)] =
          permuted_values(in_, orders_[b % 2].data() + i * ni_, work_[static_cast<size_t>(worker)]);
    consumed_[b % 2].fetch_add(end - begin, std::memory_order_release);
  }

  // Counts and writes every batch whose permutations are all evaluated.
  void flush_complete() {
    while (flushed_ < produced_ && consumed_[flushed_ % 2].load(std::memory_order_acquire) == items(flushed_))
      flush(flushed_++);
  }

  PermutationCounts counts;

 private:
  void flush(int64_t b) {
    lines_.clear();
    for (int64_t i = 0; i < items(b); ++i) {
      const TestValues& v = results_[b % 2][static_cast<size_t>(i)];
      for (size_t t = 0; t < v.d.size(); ++t)
        if (in_.choice.ticked[t] && dispersal::counts(v.compared[t], in_.observed.compared[t])) ++counts.at_least[t];
      append_per_line(lines_, b * batch_ + i + 1, in_.choice, v.d);
    }
    sink_(lines_);
    counts.done += items(b);
    host_.progress_step(items(b));
  }

  const PermutationInput& in_;
  Host& host_;
  Rng& rng_;
  const std::function<void(std::string_view)>& sink_;
  const int64_t ni_;
  int64_t total_ = 0, batch_ = 1;
  std::vector<int32_t> start_;  // where the next permutation starts from
  std::vector<int32_t> orders_[2];
  std::vector<TestValues> results_[2];
  std::atomic<int64_t> consumed_[2] = {0, 0};
  int64_t produced_ = 0, flushed_ = 0;
  std::string lines_;
  std::vector<Workspace> work_;
};

}  // namespace

void permute_within_samples(int32_t* order, const std::vector<int32_t>& cumulative, Rng& rng) {
  for (size_t s = cumulative.size() - 1; s >= 1; --s) {
    const int32_t f = cumulative[s - 1];
    for (int32_t j = cumulative[s] - 1; j >= f; --j) std::swap(order[j], order[f + rng.rnd_int(j - f + 1)]);
  }
}

PermutationCounts run_permutations(const PermutationInput& in, Host& host, Rng& rng,
                                   const std::function<void(std::string_view)>& per_lines) {
  PermutationRun run(in, host, rng, per_lines);
  try {
    pipelined_batches(
        std::max(1, in.threads), run.batches(), [&](int64_t b) { return run.items(b); },
        [&](int64_t b) { run.produce(b); },
        [&](int64_t b, int64_t begin, int64_t end, int worker) { run.consume(b, begin, end, worker); });
  } catch (const RunCancelled&) {
    run.counts.cancelled = true;
  }
  run.flush_complete();
  return run.counts;
}

}  // namespace torvi::dispersal
