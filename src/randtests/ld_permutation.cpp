#include "randtests/ld_permutation.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "randtests/ld_pair_stat.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Randomised G values kept between two reductions: at most this many.
constexpr size_t kBufferedValues = size_t{1} << 21;
constexpr int64_t kMaxBlock = 1024;

// The testable pairs of one sample in draw order, with the advance of the
// stream from the end of each one's draws to the start of the next one's
// (the last wraps into the next repetition).
struct SampleChain {
  int s = 0;
  std::vector<size_t> items;  // into LdTestState::samples
  std::vector<Rng::Stride> to_next;
  uint64_t first_offset = 0;  // where its first pair's draws begin in a repetition
  int64_t draws = 0;          // its draws per repetition
};

// Exchanges the genotypes at the second locus among positions typed at both:
// each such position p from the last down to 2 draws q in 1..p and walks
// down to the nearest position typed at both.
inline void exchange_second_locus(const int32_t* first, int32_t* second, int n, Rng& rng) {
  for (int p = n; p >= 2; --p) {
    if (first[p] == 0 || second[p] == 0) continue;
    int q = 1 + rng.rnd_int(p);
    while (q > 0 && (first[q] == 0 || second[q] == 0)) --q;
    if (q > 0) std::swap(second[p], second[q]);
  }
}

std::vector<SampleChain> build_chains(const LdGenotypes& lg, const LdTestState& state, uint64_t draws_per_rep) {
  std::vector<SampleChain> by_sample(static_cast<size_t>(lg.np()) + 1);
  std::vector<uint64_t> offset(state.samples.size());
  uint64_t at = 0;
  for (size_t i = 0; i < state.samples.size(); ++i) {
    offset[i] = at;
    at += static_cast<uint64_t>(state.samples[i].draws);
    SampleChain& c = by_sample[state.samples[i].s];
    c.s = state.samples[i].s;
    c.items.push_back(i);
    c.draws += state.samples[i].draws;
  }
  std::vector<SampleChain> chains;
  for (SampleChain& c : by_sample) {
    if (c.items.empty()) continue;
    c.first_offset = offset[c.items.front()];
    for (size_t j = 0; j < c.items.size(); ++j) {
      const size_t item = c.items[j];
      const uint64_t end = offset[item] + static_cast<uint64_t>(state.samples[item].draws);
      const uint64_t next = j + 1 < c.items.size() ? offset[c.items[j + 1]] : c.first_offset + draws_per_rep;
      c.to_next.push_back(Rng::stride(next - end));
    }
    chains.push_back(std::move(c));
  }
  return chains;
}

// Contiguous runs of chains of about equal draws, one per worker.
std::vector<std::pair<size_t, size_t>> share_chains(const std::vector<SampleChain>& chains, int threads) {
  int64_t total = 0;
  for (const SampleChain& c : chains) total += c.draws;
  const int groups = static_cast<int>(std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(threads, 1)), chains.size())));
  std::vector<std::pair<size_t, size_t>> shares;
  size_t begin = 0;
  int64_t done = 0;
  for (size_t i = 0; i < chains.size(); ++i) {
    done += chains[i].draws;
    const int64_t target = total * static_cast<int64_t>(shares.size() + 1) / groups;
    const size_t left = chains.size() - i - 1;
    const size_t groups_left = static_cast<size_t>(groups) - shares.size() - 1;
    if (i + 1 == chains.size() || (groups_left > 0 && (done >= target || left == groups_left))) {
      shares.emplace_back(begin, i + 1);
      begin = i + 1;
    }
  }
  return shares;
}

}  // namespace

void ld_permutations(LdGenotypes& lg, LdTestState& state, int64_t n_perm, Rng& rng, int threads,
                     Progress& progress) {
  const int64_t repetitions = n_perm - 1;
  uint64_t draws_per_rep = 0;
  size_t max_cells = 1;
  for (const LdSampleTest& t : state.samples) {
    draws_per_rep += static_cast<uint64_t>(t.draws);
    max_cells = std::max(max_cells, static_cast<size_t>(lg.n_genotypes(t.s, t.l1)) * lg.n_genotypes(t.s, t.l2));
  }
  const size_t n_items = state.samples.size();
  if (repetitions <= 0) return;
  if (n_items == 0) {
    for (int64_t k = 0; k < repetitions; ++k) progress.step();
    return;
  }

  const std::vector<SampleChain> chains = build_chains(lg, state, draws_per_rep);
  const auto shares = share_chains(chains, threads);
  std::vector<LdTable> tables;
  tables.reserve(shares.size());
  for (size_t w = 0; w < shares.size(); ++w) tables.emplace_back(max_cells, lg.largest_sample());
  const int64_t block = std::clamp<int64_t>(static_cast<int64_t>(kBufferedValues / n_items), 1, kMaxBlock);
  std::vector<long double> g_values(static_cast<size_t>(std::min(block, repetitions)) * n_items);

  for (int64_t first_rep = 0; first_rep < repetitions; first_rep += block) {
    const int64_t reps = std::min(block, repetitions - first_rep);
    parallel_shares(static_cast<int>(shares.size()), static_cast<int64_t>(shares.size()),
                    [&](int64_t begin, int64_t end, int) {
      for (int64_t w = begin; w < end; ++w) {
        LdTable& table = tables[static_cast<size_t>(w)];
        for (size_t c = shares[w].first; c < shares[w].second; ++c) {
          const SampleChain& chain = chains[c];
          const int n = lg.sample_size(chain.s);
          Rng r = rng.jumped(static_cast<uint64_t>(first_rep) * draws_per_rep + chain.first_offset);
          for (int64_t k = 0; k < reps; ++k) {
            long double* g_row = &g_values[static_cast<size_t>(k) * n_items];
            for (size_t j = 0; j < chain.items.size(); ++j) {
              const size_t item = chain.items[j];
              LdSampleTest& t = state.samples[item];
              exchange_second_locus(lg.positions(t.l1, t.s), lg.positions(t.l2, t.s), n, r);
              const long double g = table.count(lg, t.s, t.l1, t.l2);
              g_row[item] = g;
              if (g >= t.observed_g) ++t.count;
              r.jump(chain.to_next[j]);
            }
          }
        }
      }
    });
    // Totals over samples, summed in sample order whatever the thread count.
    for (int64_t k = 0; k < reps; ++k) {
      const long double* g_row = &g_values[static_cast<size_t>(k) * n_items];
      for (LdPairTest& pair : state.pairs) {
        long double sum = 0.0L;
        for (size_t i = pair.first; i < pair.end; ++i) sum += g_row[i];
        if (sum >= pair.observed_total) ++pair.count;
      }
      progress.step();
    }
  }
  rng.jump(static_cast<uint64_t>(repetitions) * draws_per_rep);
}

}  // namespace torvi
