#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"
#include "random/rng.h"

namespace torvi {

// The allele copies of the samples first..last as integers, laid out like
// the count tables: the tables' counts, or, when they hold frequencies,
// frequency x 2n; both rounded to the nearest integer. The randomisations
// redeal copies without changing how many each sample holds, so these stay
// valid for a whole test.
std::vector<int32_t> integer_counts(const CountTables& ct, int first, int last, AlleleUnits units);

// The list of allele copies of one table row: slot j (0..k-1, ascending)
// appended counts[j] times. Returns the number of copies written. It writes
// a few entries past them: lists come from allele_list_buffer.
int build_allele_list(const int32_t* counts, int k, int32_t* list);
// Room for a list of up to max_copies copies.
std::vector<int32_t> allele_list_buffer(int max_copies);

// Fisher-Yates exchange of the m identifiers list[0..m-1] (positions 1..m):
// for i = m down to 2, j = 1 + rnd_int(i), exchange positions i and j.
// Draws exactly m - 1 numbers.
void shuffle_alleles(int32_t* list, int m, Rng& rng);

// Deals list[0..m-1] as genotypes (positions 1-2, 3-4, ...): sets het[0..k-1]
// to the number of heterozygous pairs carrying each slot. Counting into
// integers, where the caller can, spares the extended-precision additions.
template <class Count>
void count_het_pairs(const int32_t* list, int m, int k, Count* het) {
  for (int j = 0; j < k; ++j) het[j] = 0;
  for (int i = 0; i + 1 < m; i += 2)
    if (list[i] != list[i + 1]) {
      het[list[i]] += 1;
      het[list[i + 1]] += 1;
    }
}

// One sample at one locus redrawn from its own allele copies: the list is
// built from `counts`, shuffled, and its heterozygous pairs counted into
// `het`. Returns the number of copies (draws made: one fewer).
template <class Count>
int redeal_within_sample(const int32_t* counts, int k, Count* het, int32_t* list, Rng& rng) {
  const int m = build_allele_list(counts, k, list);
  shuffle_alleles(list, m, rng);
  count_het_pairs(list, m, k, het);
  return m;
}

// Draws made by redealing every sample first..last at every locus once, and
// the largest number of copies of one sample at one locus.
struct WithinSampleDraws {
  int64_t per_randomisation = 0;
  int max_copies = 0;
  int max_alleles = 0;  // alleles present at the richest locus
};
WithinSampleDraws within_sample_draws(const CountTables& ct, int first, int last);

// Exchanges the items of positions 1..m that are complete: for j = m down to
// 2, a complete j draws k = 1 + rnd_int(j) until k is complete, then the two
// are exchanged. Incomplete positions never move and are never drawn. The
// complete positions are given in ascending order (`count` of them), so the
// walk visits only those.
template <class IsComplete, class Exchange>
void shuffle_complete(const int32_t* complete_positions, int count, IsComplete&& complete, Exchange&& exchange,
                      Rng& rng) {
  for (int r = count - 1; r >= 0; --r) {
    const int j = complete_positions[r];
    if (j < 2) break;
    int k;
    do k = 1 + rng.rnd_int(j);
    while (!complete(k));
    if (k != j) exchange(j, k);
  }
}

}  // namespace torvi
