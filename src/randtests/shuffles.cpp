#include "randtests/shuffles.h"

#include <algorithm>
#include <utility>

#include "util/nearest_count.h"

namespace torvi {

int build_allele_list(const long double* counts, int k, int32_t* list) {
  int m = 0;
  for (int j = 0; j < k; ++j) {
    const int c = nearest_count(counts[j]);
    for (int r = 0; r < c; ++r) list[m++] = j;
  }
  return m;
}

void shuffle_alleles(int32_t* list, int m, Rng& rng) {
  // The draws do not depend on the list: drawing a chunk of them before
  // exchanging keeps the generator's loop free of the exchanges' memory
  // traffic (nearly twice as fast), with the same draws and exchanges in the
  // same order.
  constexpr int kChunk = 256;
  int32_t drawn[kChunk];
  for (int top = m; top >= 2; top -= kChunk) {
    const int bottom = std::max(2, top - kChunk + 1);
    for (int i = top; i >= bottom; --i) drawn[top - i] = rng.rnd_int(i);
    for (int i = top; i >= bottom; --i) std::swap(list[i - 1], list[drawn[top - i]]);
  }
}

WithinSampleDraws within_sample_draws(const CountTables& ct, int first, int last) {
  WithinSampleDraws d;
  for (int s = first; s <= last; ++s)
    for (int l = 1; l <= ct.nl; ++l)
      if (const int copies = 2 * ct.typed(s, l); copies > 0) {
        d.per_randomisation += copies - 1;
        d.max_copies = std::max(d.max_copies, copies);
      }
  return d;
}

void shuffle_genotypes(DataSet& ds, int m, Rng& rng) {
  const int nl = ds.nl;
  shuffle_complete(
      m, [&](int i) { return ds.missing_count[i] == 0; },
      [&](int a, int b) { std::swap_ranges(ds.genotypes_of(a), ds.genotypes_of(a) + nl, ds.genotypes_of(b)); },
      rng);
}

}  // namespace torvi
