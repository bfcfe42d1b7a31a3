#include "groups/group_test.h"

#include <algorithm>
#include <numeric>

#include "host/progress.h"
#include "util/parallel.h"

namespace torvi {

namespace {

constexpr int kRichness = static_cast<int>(GroupStatistic::allelic_richness);

// The shuffle of the sample list before a permutation: np - 1 draws.
void shuffle_samples(std::vector<int>& list, Rng& rng) {
  for (int i = static_cast<int>(list.size()); i >= 2; --i) std::swap(list[i - 1], list[rng.rnd_int(i)]);
}

// Working space of one worker, made before its permutations.
struct Dealer {
  const GroupSamples& samples;
  const GroupComparison& comparison;
  const GroupTest& test;
  std::vector<int> members;  // the groups' members one after the other
  std::vector<GroupStats> stats;
  GroupScratch scratch;
  std::array<int64_t, kGroupStatistics> reached{};

  Dealer(const GroupSamples& s, const GroupComparison& c, const GroupTest& t)
      : samples(s), comparison(c), test(t), stats(c.groups.size()), scratch(s) {
    size_t total = 0;
    for (const auto& g : c.groups) total += g.size();
    members.resize(total);
  }

  // Deals `list` to the groups and counts the statistics that reach their
  // observed test value.
  void permutation(const std::vector<int>& list) {
    size_t at = 0;
    for (size_t g = 0; g < comparison.groups.size(); ++g) {
      const size_t size = comparison.groups[g].size();
      int* group = &members[at];
      std::copy(list.begin() + static_cast<std::ptrdiff_t>(at), list.begin() + static_cast<std::ptrdiff_t>(at + size),
                group);
      std::sort(group, group + size);
      stats[g] = group_statistics(samples, group, static_cast<int>(size), test.components, test.richness, scratch);
      at += size;
    }
    for (int i = 0; i < kGroupStatistics; ++i) {
      if (!test.compared[i]) continue;
      const long double t = group_test_value(stats.data(), static_cast<int>(stats.size()),
                                             static_cast<GroupStatistic>(i), comparison.one_sided);
      if (t >= test.observed_value[i]) ++reached[i];
    }
  }
};

}  // namespace

GroupTest::GroupTest(const GroupSamples& samples, const GroupComparison& comparison) {
  compared = comparison.statistics;
  compared[kRichness] = compared[kRichness] && samples.has_richness();
  richness = compared[kRichness];
  components = std::any_of(compared.begin() + 1, compared.end(), [](bool b) { return b; });
}

void observe_groups(const GroupSamples& samples, const GroupComparison& comparison, GroupTest& test) {
  GroupScratch scratch(samples);
  test.observed.clear();
  for (const std::vector<int>& g : comparison.groups)
    test.observed.push_back(group_statistics(samples, g.data(), static_cast<int>(g.size()), true, test.richness,
                                             scratch));
  for (int i = 0; i < kGroupStatistics; ++i)
    test.observed_value[i] = group_test_value(test.observed.data(), static_cast<int>(test.observed.size()),
                                              static_cast<GroupStatistic>(i), comparison.one_sided);
}

void count_permutations(Host& host, Rng& rng, const GroupSamples& samples, const GroupComparison& comparison,
                        int threads, GroupTest& test) {
  const int64_t n = comparison.permutations - 1;
  const int np = samples.samples();
  const uint64_t draws = static_cast<uint64_t>(np - 1);
  Progress progress(host, comparison.permutations);
  test.reached.fill(0);
  if (n <= 0) return;

  // Each worker takes a contiguous share of the permutations. The list's
  // order where a share begins is found by shuffling ahead once, alone; the
  // generator's state there is a jump.
  threads = static_cast<int>(std::clamp<int64_t>(threads, 1, n));
  std::vector<int64_t> begin(static_cast<size_t>(threads) + 1);
  for (int w = 0; w <= threads; ++w) begin[w] = n * w / threads;
  std::vector<std::vector<int>> start_list(static_cast<size_t>(threads), std::vector<int>(static_cast<size_t>(np)));
  std::vector<int> list(static_cast<size_t>(np));
  std::iota(list.begin(), list.end(), 1);
  const Rng start = rng;
  for (int64_t k = 0, w = 0; k < n; ++k) {
    if (k == begin[w]) std::copy(list.begin(), list.end(), start_list[w++].begin());
    shuffle_samples(list, rng);
  }

  std::vector<std::array<int64_t, kGroupStatistics>> reached(static_cast<size_t>(threads));
  parallel_shares(threads, threads, [&](int64_t first, int64_t last, int) {
    for (int64_t w = first; w < last; ++w) {
      Dealer dealer(samples, comparison, test);
      std::vector<int> order = start_list[w];
      Rng r = start.jumped(static_cast<uint64_t>(begin[w]) * draws);
      for (int64_t k = begin[w]; k < begin[w + 1]; ++k) {
        progress.step();
        shuffle_samples(order, r);
        dealer.permutation(order);
      }
      reached[w] = dealer.reached;
    }
  });
  for (const auto& r : reached)
    for (int i = 0; i < kGroupStatistics; ++i) test.reached[i] += r[i];
}

}  // namespace torvi
