#include "ld/permutation.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ld/pair_stat.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Randomised G values kept between two reductions: about this many (at
// least those of one repetition), so that the buffer stays in cache.
constexpr size_t kBufferedValues = size_t{1} << 16;
constexpr int64_t kMaxBlock = 1024;

// The testable pairs of one sample in draw order, with the advance of the
// stream from the end of each one's draws to the start of the next one's
// (the last wraps into the next repetition).
// Each chain keeps its own copy of what its loop reads and counts, so that
// a worker walks contiguous memory of its own.
struct ChainLink {
  size_t item = 0;  // in LdTestState::samples
  int l1 = 0, l2 = 0;
  long double observed_g = 0;
  int64_t count = 0;
  Rng::Stride to_next;
  bool all_typed = false;  // every individual of the sample typed at both loci
  size_t nearest_at = 0;   // otherwise its table in SampleChain::nearest_typed
};

struct SampleChain {
  int s = 0;
  std::vector<ChainLink> links;
  // Per link with untyped individuals, for each position q = 0..n the
  // nearest position at or below q typed at both loci (0: none). Exchanges
  // never change which positions are typed, so these are made once for the
  // whole test.
  std::vector<int32_t> nearest_typed;
  uint64_t first_offset = 0;  // where its first pair's draws begin in a repetition
  int64_t draws = 0;          // its draws per repetition
};

// What one worker reuses from repetition to repetition.
struct Worker {
  Worker(size_t max_cells, int largest_sample)
      : table(max_cells, largest_sample), from(static_cast<size_t>(largest_sample) + 1),
        to(static_cast<size_t>(largest_sample) + 1) {}
  LdTable table;
  std::vector<int32_t> from, to;  // the exchanges of one repetition, in order
};

// Exchanges the genotypes at the second locus among the positions typed at
// both and returns G of the permuted table: each such position p, from the
// last down to 2, draws q in 1..p and walks down to the nearest position
// typed at both (a look-up in `nearest`, none when the whole sample is
// typed). Being typed at both is never changed by an exchange, so all
// partners are drawn first and the exchanges made after: the draws then
// never wait on the stores of the exchanges. A position is final once its
// own exchange is made (later ones only reach lower positions), so it is
// counted into the table right then.
template <bool kAllTyped>
long double permuted_g(LdGenotypes& lg, int s, const ChainLink& link, const int32_t* nearest, Rng& rng,
                       Worker& w) {
  int32_t* second = lg.positions(link.l2, s);
  int32_t* from = w.from.data();
  int32_t* to = w.to.data();
  auto typed_at_or_below = [nearest](int q) { return kAllTyped ? q : nearest[q]; };
  int m = 0;
  for (int p = typed_at_or_below(lg.sample_size(s)); p >= 2; p = typed_at_or_below(p - 1)) {
    from[m] = p;
    to[m++] = typed_at_or_below(1 + rng.rnd_int(p));
  }
  return w.table.permuted_g(lg, s, link.l1, link.l2, [&](auto&& visit) {
    for (int i = 0; i < m; ++i) {
      if (kAllTyped || to[i] > 0) std::swap(second[from[i]], second[to[i]]);
      visit(from[i]);
    }
    if (typed_at_or_below(1) == 1) visit(1);
  });
}

std::vector<SampleChain> build_chains(const LdGenotypes& lg, const LdTestState& state, uint64_t draws_per_rep) {
  std::vector<SampleChain> by_sample(static_cast<size_t>(lg.np()) + 1);
  std::vector<uint64_t> offset(state.samples.size());
  uint64_t at = 0;
  for (size_t i = 0; i < state.samples.size(); ++i) {
    offset[i] = at;
    at += static_cast<uint64_t>(state.samples[i].draws);
    const LdSampleTest& t = state.samples[i];
    SampleChain& c = by_sample[t.s];
    c.s = t.s;
    ChainLink link{i, t.l1, t.l2, t.observed_g, 0, {}, true, c.nearest_typed.size()};
    const int32_t* a = lg.positions(t.l1, t.s);
    const int32_t* b = lg.positions(t.l2, t.s);
    const int n = lg.sample_size(t.s);
    for (int p = 1; p <= n; ++p) link.all_typed = link.all_typed && a[p] != 0 && b[p] != 0;
    if (!link.all_typed) {
      c.nearest_typed.push_back(0);
      for (int p = 1; p <= n; ++p) c.nearest_typed.push_back(a[p] != 0 && b[p] != 0 ? p : c.nearest_typed.back());
    }
    c.links.push_back(link);
    c.draws += t.draws;
  }
  std::vector<SampleChain> chains;
  for (SampleChain& c : by_sample) {
    if (c.links.empty()) continue;
    c.first_offset = offset[c.links.front().item];
    for (size_t j = 0; j < c.links.size(); ++j) {
      const size_t item = c.links[j].item;
      const uint64_t end = offset[item] + static_cast<uint64_t>(state.samples[item].draws);
      const uint64_t next = j + 1 < c.links.size() ? offset[c.links[j + 1].item] : c.first_offset + draws_per_rep;
      c.links[j].to_next = Rng::stride(next - end);
    }
    chains.push_back(std::move(c));
  }
  return chains;
}

// Contiguous runs of chains of about equal draws, one per worker: each run
// ends where its total comes nearest to its share of all draws.
std::vector<std::pair<size_t, size_t>> share_chains(const std::vector<SampleChain>& chains, int threads) {
  int64_t total = 0;
  for (const SampleChain& c : chains) total += c.draws;
  const size_t groups = std::clamp<size_t>(static_cast<size_t>(std::max(threads, 1)), 1, chains.size());
  std::vector<std::pair<size_t, size_t>> shares;
  size_t begin = 0;
  int64_t done = 0;
  for (size_t g = 0; g + 1 < groups; ++g) {
    const int64_t target = total * static_cast<int64_t>(g + 1) / static_cast<int64_t>(groups);
    size_t end = begin + 1;
    done += chains[begin].draws;
    const size_t last_end = chains.size() - (groups - 1 - g);  // a chain for every later run
    while (end < last_end && done + chains[end].draws - target <= target - done) done += chains[end++].draws;
    shares.emplace_back(begin, end);
    begin = end;
  }
  shares.emplace_back(begin, chains.size());
  return shares;
}

// reps permutations of the chain's items from stream r: each G into its
// row of g_values (n_items per permutation) and counted against the observed.
void permute_chain(LdGenotypes& lg, SampleChain& chain, Rng r, int64_t reps, long double* g_values,
                   size_t n_items, Worker& worker) {
  const int s = chain.s;
  for (int64_t k = 0; k < reps; ++k) {
    long double* g_row = &g_values[static_cast<size_t>(k) * n_items];
    for (ChainLink& link : chain.links) {
      const long double g =
          link.all_typed ? permuted_g<true>(lg, s, link, nullptr, r, worker)
                         : permuted_g<false>(lg, s, link, chain.nearest_typed.data() + link.nearest_at, r, worker);
      g_row[link.item] = g;
      if (g >= link.observed_g) ++link.count;
      r.jump(link.to_next);
    }
  }
}

// Totals over samples, summed in sample order whatever the thread count;
// pairs are independent, so they are shared among the workers.
void count_pair_totals(LdTestState& state, const long double* g_values, int64_t reps, size_t n_items, int threads) {
  parallel_shares(threads, static_cast<int64_t>(state.pairs.size()), [&](int64_t begin, int64_t end, int) {
    for (int64_t k = 0; k < reps; ++k) {
      const long double* g_row = &g_values[static_cast<size_t>(k) * n_items];
      for (int64_t i = begin; i < end; ++i) {
        LdPairTest& pair = state.pairs[static_cast<size_t>(i)];
        long double sum = 0.0L;
        for (size_t j = pair.first; j < pair.end; ++j) sum += g_row[j];
        if (sum >= pair.observed_total) ++pair.count;
      }
    }
  });
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

  std::vector<SampleChain> chains = build_chains(lg, state, draws_per_rep);
  const auto shares = share_chains(chains, threads);
  std::vector<Worker> workers;
  workers.reserve(shares.size());
  for (size_t w = 0; w < shares.size(); ++w) workers.emplace_back(max_cells, lg.largest_sample());
  const int64_t block = std::clamp<int64_t>(static_cast<int64_t>(kBufferedValues / n_items), 1, kMaxBlock);
  std::vector<long double> g_values(static_cast<size_t>(std::min(block, repetitions)) * n_items);

  // The stream moves past the whole test before it starts, so that a run
  // stopped half-way never hands the same draws to a later test.
  const Rng start = rng;
  rng.jump(static_cast<uint64_t>(repetitions) * draws_per_rep);
  for (int64_t first_rep = 0; first_rep < repetitions; first_rep += block) {
    const int64_t reps = std::min(block, repetitions - first_rep);
    parallel_shares(static_cast<int>(shares.size()), static_cast<int64_t>(shares.size()),
                    [&](int64_t begin, int64_t end, int) {
      for (int64_t w = begin; w < end; ++w) {
        Worker& worker = workers[static_cast<size_t>(w)];
        for (size_t c = shares[w].first; c < shares[w].second; ++c) {
          SampleChain& chain = chains[c];
          permute_chain(lg, chain, start.jumped(static_cast<uint64_t>(first_rep) * draws_per_rep + chain.first_offset),
                        reps, g_values.data(), n_items, worker);
        }
      }
    });
    count_pair_totals(state, g_values.data(), reps, n_items, threads);
    for (int64_t k = 0; k < reps; ++k) progress.step();
  }
  for (const SampleChain& chain : chains)
    for (const ChainLink& link : chain.links) state.samples[link.item].count = link.count;
}

}  // namespace torvi
