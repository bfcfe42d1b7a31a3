#include "randtests/shuffles.h"

#include <algorithm>
#include <utility>

#include "util/nearest_count.h"

namespace torvi {

namespace {

// Each slot's copies start with a block of this many stores whatever its
// count: one short vectorised run instead of a loop whose length changes
// from slot to slot (counts are mostly small), at the price of writing up to
// this many entries past the list.
constexpr int kBlock = 8;

}  // namespace

int build_allele_list(const int32_t* counts, int k, int32_t* list) {
  int m = 0;
  for (int j = 0; j < k; ++j) {
    int32_t* out = list + m;
    for (int r = 0; r < kBlock; ++r) out[r] = j;
    for (int r = kBlock; r < counts[j]; ++r) out[r] = j;
    m += counts[j];
  }
  return m;
}

std::vector<int32_t> allele_list_buffer(int max_copies) { return std::vector<int32_t>(static_cast<size_t>(max_copies) + kBlock); }

std::vector<int32_t> integer_counts(const CountTables& ct, int first, int last, AlleleUnits units) {
  std::vector<int32_t> counts(ct.allele_count.size(), 0);
  for (int l = 1; l <= ct.nl; ++l)
    for (int s = first; s <= last; ++s) {
      const long double* p = ct.allele_row(s, l);
      int32_t* c = counts.data() + ct.row(s, l);
      const long double two_n = 2.0L * ct.typed(s, l);
      for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j)
        c[j] = nearest_count(units == AlleleUnits::frequencies ? p[j] * two_n : p[j]);
    }
  return counts;
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
  for (int l = 1; l <= ct.nl; ++l) d.max_alleles = std::max(d.max_alleles, ct.index->alleles_at_locus(l));
  for (int s = first; s <= last; ++s)
    for (int l = 1; l <= ct.nl; ++l)
      if (const int copies = 2 * ct.typed(s, l); copies > 0) {
        d.per_randomisation += copies - 1;
        d.max_copies = std::max(d.max_copies, copies);
      }
  return d;
}

}  // namespace torvi
