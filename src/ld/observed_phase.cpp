#include "ld/observed_phase.h"

#include <algorithm>

#include "ld/companion_files.h"
#include "ld/pair_stat.h"

namespace torvi {

namespace {

// Cells of the largest table of any sample and pair of loci.
size_t largest_table(const LdGenotypes& lg) {
  size_t largest = 1;
  for (int s = 1; s <= lg.np(); ++s) {
    size_t first = 0, second = 0;
    for (int l = 1; l <= lg.nl(); ++l) {
      const size_t g = static_cast<size_t>(lg.n_genotypes(s, l));
      if (g > first) {
        second = first;
        first = g;
      } else if (g > second) {
        second = g;
      }
    }
    largest = std::max(largest, first * second);
  }
  return largest;
}

// Draws a repetition makes for sample s and the pair: one per position from 2
// up typed at both loci.
int64_t draws_of(const LdGenotypes& lg, int s, int l1, int l2) {
  const int32_t* a = lg.positions(l1, s);
  const int32_t* b = lg.positions(l2, s);
  int64_t draws = 0;
  for (int p = 2; p <= lg.sample_size(s); ++p) draws += a[p] != 0 && b[p] != 0;
  return draws;
}

}  // namespace

LdTestState ld_observed_phase(RunContext& ctx, const Analysis& an, const LdGenotypes& lg) {
  const DataSet& ds = an.ds;
  LdTestState state;
  LdTable table(largest_table(lg), lg.largest_sample());
  LdEstimatorScratch scratch(lg);
  LdCompanionFiles files(ctx.host, ctx.options, an.base_name, ds, lg);
  for (int l1 = 1; l1 < ds.nl; ++l1) {
    for (int l2 = l1 + 1; l2 <= ds.nl; ++l2) {
      if (lg.alleles_at_locus(l1) <= 1 || lg.alleles_at_locus(l2) <= 1) continue;
      LdPairTest pair{l1, l2, state.samples.size(), state.samples.size(), 0.0L, 0};
      long double sd = 0.0L, sr = 0.0L;
      int64_t sn = 0;
      files.begin_pair(l1, l2);
      for (int s = 1; s <= ds.np; ++s) {
        if (lg.n_genotypes(s, l1) < 2 || lg.n_genotypes(s, l2) < 2) {
          files.sample_not_testable();
          continue;
        }
        const LdPairResult r = ld_pair_stat(lg, s, l1, l2, table, scratch, files);
        if (!r.testable) {
          files.sample_not_testable();
          continue;
        }
        pair.observed_total += r.g;
        files.sample_averages(r.delta_prime, r.r2);
        sd += r.n * r.delta_prime;
        sr += r.n * r.r2;
        sn += r.n;
        state.samples.push_back({l1, l2, s, draws_of(lg, s, l1, l2), r.g, 0});
      }
      files.end_pair(sd, sr, sn);
      pair.end = state.samples.size();
      state.pairs.push_back(pair);
    }
  }
  files.close();
  return state;
}


}  // namespace torvi
