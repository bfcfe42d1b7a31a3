#include "regress/randomisations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "regress/lane_fit.h"
#include "regress/shuffles.h"
#include "util/parallel.h"

namespace torvi::regress {

namespace {

constexpr int64_t kMaxBatch = 256;              // randomisations made per batch
constexpr int kMaxWorkers = 64;
constexpr int64_t kWorkBytes = int64_t{64} << 20;  // bound on the workers' responses together

// The shuffled responses of a batch. Distance matrices keep only the object
// order of each randomisation (the fit gathers the triangle through it);
// shuffled rows keep the whole response.
class Batches {
 public:
  Batches(const RandomisationSetup& s, Rng& rng, Host& host)
      : s_(s), rng_(rng), host_(host), total_(s.randomisations - 1) {
    slot_ = s.objects > 0 ? s.objects : s.model.n;
    size_ = s.objects > 0 ? kMaxBatch
                          : std::clamp<int64_t>(s.batch_values / slot_ / kLanes * kLanes, kLanes, kMaxBatch);
    const auto cells = static_cast<size_t>(size_ * slot_);
    if (s.objects > 0) {
      for (auto& b : orders_) b.resize(cells);
      order_.resize(static_cast<size_t>(s.objects));
      for (int i = 0; i < s.objects; ++i) order_[i] = i;
    } else {
      for (auto& b : responses_) b.resize(cells);
      response_ = s.model.y;
    }
  }

  int64_t count() const { return (total_ + size_ - 1) / size_; }
  int64_t randomisations(int64_t b) const { return std::min(size_, total_ - b * size_); }
  int64_t groups(int64_t b) const { return (randomisations(b) + kLanes - 1) / kLanes; }

  // Shuffles for batch b, in stream order.
  void produce(int64_t b) {
    if (host_.stop_requested()) throw RunCancelled();
    for (int64_t t = 0; t < randomisations(b); ++t) {
      if (s_.objects > 0) {
        permute_matrix(rng_, order_.data(), s_.objects);
        std::copy(order_.begin(), order_.end(), orders_[b % 2].begin() + t * slot_);
      } else {
        permute_vector(rng_, response_.data(), s_.model.n);
        std::copy(response_.begin(), response_.end(), responses_[b % 2].begin() + t * slot_);
      }
    }
  }

  // Writes the responses of randomisations first..first+kLanes-1 of batch b
  // interleaved into `y`, for fit_lanes; lanes past the batch's end repeat
  // its last randomisation.
  void lanes(int64_t b, int64_t first, double* y) const {
    const int64_t last = randomisations(b) - 1;
    auto slot = [&](int l) { return std::min(first + l, last) * slot_; };
    if (s_.objects > 0) {
      const int32_t* orders[kLanes];
      for (int l = 0; l < kLanes; ++l) orders[l] = orders_[b % 2].data() + slot(l);
      gather_lanes(s_.model.y.data(), orders, s_.objects, y);
      return;
    }
    for (int l = 0; l < kLanes; ++l) {
      const float* response = responses_[b % 2].data() + slot(l);
      for (int64_t r = 0; r < s_.model.n; ++r) y[r * kLanes + l] = response[r];
    }
  }

 private:
  const RandomisationSetup& s_;
  Rng& rng_;
  Host& host_;
  int64_t total_, slot_ = 0, size_ = 0;
  std::vector<int32_t> orders_[2];   // two batches alive at once
  std::vector<float> responses_[2];
  std::vector<int32_t> order_;
  std::vector<float> response_;
};

void count_lane(const LaneResult& r, const Fit& observed, Counts& counts) {
  if (r.rss <= observed.rss) ++counts.err;
  for (size_t k = 0; k < counts.beta.size(); ++k) {
    if (std::fabs(r.beta[k]) >= std::fabs(observed.beta[k])) ++counts.beta[k];
    if (r.ss[k] >= observed.ss[k]) ++counts.ss[k];
  }
}

}  // namespace

Counts randomise(const RandomisationSetup& s, Rng& rng, Host& host) {
  const int m = s.model.m;
  Counts total(m);
  if (s.randomisations < 2) return total;
  Batches batches(s, rng, host);
  // More workers than groups in a batch would idle; each holds n x kLanes
  // values.
  const int64_t fit_in_memory = kWorkBytes / (s.model.n * kLanes * static_cast<int64_t>(sizeof(double)));
  const int64_t useful = std::max<int64_t>(1, std::min({batches.groups(0), fit_in_memory, int64_t{kMaxWorkers}}));
  const int workers = static_cast<int>(std::clamp<int64_t>(s.threads, 1, useful));
  const WideModel wide(s.model);
  // Per worker: interleaved responses and counts from zero.
  std::vector<std::vector<double>> lanes(static_cast<size_t>(workers),
                                         std::vector<double>(static_cast<size_t>(s.model.n) * kLanes));
  Counts zero(m);
  std::fill(zero.beta.begin(), zero.beta.end(), 0);
  std::fill(zero.ss.begin(), zero.ss.end(), 0);
  zero.err = 0;
  std::vector<Counts> counts(static_cast<size_t>(workers), zero);

  host.progress_begin(s.randomisations - 1);
  struct EndProgress {
    Host& host;
    ~EndProgress() { host.progress_end(); }
  } end_progress{host};
  pipelined_batches(
      workers, batches.count(), [&](int64_t b) { return batches.groups(b); },
      [&](int64_t b) { batches.produce(b); },
      [&](int64_t b, int64_t begin, int64_t end, int w) {
        double* y = lanes[w].data();
        LaneResult results[kLanes];
        const int64_t made = batches.randomisations(b);
        for (int64_t g = begin; g < end; ++g) {
          const int64_t first = g * kLanes, used = std::min<int64_t>(kLanes, made - first);
          batches.lanes(b, first, y);
          fit_lanes(wide, s.cache, y, results);
          for (int l = 0; l < used; ++l) count_lane(results[l], s.observed, counts[w]);
          host.progress_step(used);
        }
      });
  for (const Counts& c : counts) total.add(c);
  return total;
}

}  // namespace torvi::regress
