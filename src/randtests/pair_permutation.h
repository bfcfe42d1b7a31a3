#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/count_tables.h"
#include "model/data_set.h"
#include "random/rng.h"
#include "stats/g_statistics.h"

namespace torvi {

// The individuals of the pair of samples being tested: positions 1..n1 for
// the first sample, then n1+1..n1+n2 for the second, in file order. The
// complete ones (typed at every locus) exchange their multilocus genotypes;
// an arrangement is held as, for each complete position by rank, the rank
// whose genotype it holds (identity at load). Sized once for the two
// largest samples; loading and counting allocate nothing.
class PairPermutation {
 public:
  PairPermutation(int max_positions, const AlleleIndex& ix);

  // Takes samples s1 and s2; returns how many individuals each has.
  std::pair<int, int> load(const DataSet& ds, int s1, int s2);

  // Exchanges the genotypes of complete positions: for p = last down to 2,
  // a complete p draws q until q is complete (shuffle_complete).
  void shuffle(Rng& rng);
  const int32_t* held() const { return held_.data(); }
  int complete() const { return static_cast<int>(held_.size()); }

  // Allele copies per slot of one side (0: first sample, 1: second) in the
  // arrangement `held`.
  void count_side(const int32_t* held, int side, int32_t* counts) const;
  // The side with fewer complete individuals: the cheaper one to count.
  int side_to_count() const { return first_rank_[1] <= complete() - first_rank_[1] ? 0 : 1; }

  const int32_t* typed(int side) const { return typed_[side].data(); }  // [1..nl]
  const int32_t* totals() const { return totals_.data(); }              // per slot, both sides

 private:
  const AlleleIndex& ix_;
  int positions_ = 0;
  std::vector<int32_t> rank_of_;   // [1..positions]: rank, or -1 when incomplete
  std::vector<int32_t> complete_positions_;  // by rank
  std::vector<int32_t> held_;      // per rank
  std::vector<int16_t> slots_;     // per rank, per locus: the two slots within the locus
  int first_rank_[2] = {0, 0};     // ranks of side 1 begin at first_rank_[1]
  std::vector<int32_t> fixed_[2];  // per slot: copies of the incomplete individuals
  std::vector<int32_t> typed_[2];
  std::vector<int32_t> totals_;
};

// G of the pair's table (without the factor 2) for any split of its allele
// totals between the two samples, as pair_g defines it: over the loci typed
// in both, Σ_j [t(cA) + t(cB) − t(cA + cB)] − SA ln(nA/(nA+nB)) −
// SB ln(nB/(nA+nB)). Only cA + cB = T_j is fixed per slot, so
// t(c) + t(T_j − c) is tabulated per slot and the rest of each locus's term
// is formed once per pair: the permutations then need one look-up per slot.
// The terms are summed in another order than pair_g's; the tests compare
// G with a tolerance far above the difference.
class PairGTerms {
 public:
  // Room for pairs of up to max_positions individuals.
  PairGTerms(const AlleleIndex& ix, int max_positions);

  void reset(const int32_t* typed_a, const int32_t* typed_b, const int32_t* totals, const XLogX& xlogx);
  // From the copies per slot of either sample.
  long double g(const int32_t* counts) const;

 private:
  struct SlotTerms {
    int32_t slot;  // AlleleIndex slot
    int32_t at;    // its table: t(c) + t(T − c) for c = 0..T
  };
  struct LocusTerms {
    int32_t begin, end;  // its slots in slots_
    long double rest;    // −Σ t(T) − SA ln(nA/(nA+nB)) − SB ln(nB/(nA+nB))
  };
  const AlleleIndex& ix_;
  std::vector<SlotTerms> slots_;
  std::vector<LocusTerms> loci_;
  std::vector<long double> table_;
  size_t table_used_ = 0;
};

}  // namespace torvi
