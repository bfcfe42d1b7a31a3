#include "randtests/pair_permutation.h"

#include <algorithm>

#include "randtests/shuffles.h"

namespace torvi {

PairPermutation::PairPermutation(int max_positions, const AlleleIndex& ix)
    : ix_(ix), rank_of_(static_cast<size_t>(max_positions) + 1, -1),
      slots_(static_cast<size_t>(max_positions) * ix.nl * 2), totals_(static_cast<size_t>(ix.total_slots())) {
  held_.reserve(static_cast<size_t>(max_positions));
  complete_positions_.reserve(static_cast<size_t>(max_positions));
  for (int side : {0, 1}) {
    fixed_[side].assign(static_cast<size_t>(ix.total_slots()), 0);
    typed_[side].assign(static_cast<size_t>(ix.nl) + 1, 0);
  }
}

std::pair<int, int> PairPermutation::load(const DataSet& ds, int s1, int s2) {
  const int nl = ix_.nl;
  held_.clear();
  complete_positions_.clear();
  positions_ = 0;
  std::fill(totals_.begin(), totals_.end(), 0);
  int found[2] = {0, 0};
  for (int side : {0, 1}) {
    std::fill(fixed_[side].begin(), fixed_[side].end(), 0);
    std::fill(typed_[side].begin(), typed_[side].end(), 0);
    first_rank_[side] = static_cast<int>(held_.size());
    const int s = side == 0 ? s1 : s2;
    for (int i = 1; i <= ds.ni; ++i) {
      if (ds.sample_of[i] != s) continue;
      ++found[side];
      ++positions_;
      const bool complete = ds.missing_count[i] == 0;
      const int32_t rank = complete ? static_cast<int32_t>(held_.size()) : -1;
      rank_of_[static_cast<size_t>(positions_)] = rank;
      if (complete) {
        held_.push_back(rank);
        complete_positions_.push_back(positions_);
      }
      for (int l = 1; l <= nl; ++l) {
        const int32_t code = ds.geno(l, i);
        if (code == 0) continue;
        const int a = ix_.slot(l, code / ds.coding_base) - ix_.first[l];
        const int b = ix_.slot(l, code % ds.coding_base) - ix_.first[l];
        ++typed_[side][static_cast<size_t>(l)];
        const size_t first = static_cast<size_t>(ix_.first[l]);
        ++totals_[first + a];
        ++totals_[first + b];
        if (complete) {
          int16_t* pair = &slots_[(static_cast<size_t>(rank) * nl + (l - 1)) * 2];
          pair[0] = static_cast<int16_t>(a);
          pair[1] = static_cast<int16_t>(b);
        } else {
          ++fixed_[side][first + a];
          ++fixed_[side][first + b];
        }
      }
    }
  }
  return {found[0], found[1]};
}

void PairPermutation::shuffle(Rng& rng) {
  shuffle_complete(
      complete_positions_.data(), complete(), [&](int p) { return rank_of_[static_cast<size_t>(p)] >= 0; },
      [&](int a, int b) { std::swap(held_[rank_of_[a]], held_[rank_of_[b]]); }, rng);
}

void PairPermutation::count_side(const int32_t* held, int side, int32_t* counts) const {
  const int nl = ix_.nl;
  std::copy(fixed_[side].begin(), fixed_[side].end(), counts);
  const int end = side == 0 ? first_rank_[1] : complete();
  const int32_t* first = ix_.first.data();
  for (int r = first_rank_[side]; r < end; ++r) {
    const int16_t* pair = &slots_[static_cast<size_t>(held[r]) * nl * 2];
    for (int l = 1; l <= nl; ++l, pair += 2) {
      ++counts[first[l] + pair[0]];
      ++counts[first[l] + pair[1]];
    }
  }
}

PairGTerms::PairGTerms(const AlleleIndex& ix, int max_positions)
    : ix_(ix), loci_(static_cast<size_t>(ix.nl)),
      table_(static_cast<size_t>(ix.total_slots()) + static_cast<size_t>(max_positions) * 2 * ix.nl) {
  slots_.reserve(static_cast<size_t>(ix.total_slots()));
}

void PairGTerms::reset(const int32_t* typed_a, const int32_t* typed_b, const int32_t* totals, const XLogX& xlogx) {
  // ln k = (k ln k) / k from the table; ln 1 = 0.
  auto ln = [&](int k) { return k <= 1 ? 0.0L : xlogx(k) / k; };
  slots_.clear();
  loci_.clear();
  table_used_ = 0;
  for (int l = 1; l <= ix_.nl; ++l) {
    const int nA = typed_a[l], nB = typed_b[l];
    if (nA < 1 || nB < 1) continue;
    LocusTerms locus{static_cast<int32_t>(slots_.size()), 0, 0.0L};
    long double totals_term = 0;
    for (int j = ix_.first[l]; j < ix_.first[l + 1]; ++j) {
      const int T = totals[j];
      if (T == 0) continue;
      slots_.push_back({j, static_cast<int32_t>(table_used_)});
      for (int c = 0; c <= T; ++c) table_[table_used_++] = xlogx(c) + xlogx(T - c);
      totals_term += xlogx(T);
    }
    locus.end = static_cast<int32_t>(slots_.size());
    const long double ln_total = ln(nA + nB);
    locus.rest = -totals_term - 2 * nA * (ln(nA) - ln_total) - 2 * nB * (ln(nB) - ln_total);
    loci_.push_back(locus);
  }
}

long double PairGTerms::g(const int32_t* counts) const {
  long double g = 0;
  for (const LocusTerms& locus : loci_) {
    long double cells = 0;
    for (int32_t i = locus.begin; i < locus.end; ++i) {
      const SlotTerms& s = slots_[static_cast<size_t>(i)];
      cells += table_[static_cast<size_t>(s.at + counts[s.slot])];
    }
    g += cells + locus.rest;
  }
  return g;
}

}  // namespace torvi
