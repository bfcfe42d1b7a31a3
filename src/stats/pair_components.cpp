#include "stats/pair_components.h"

#include <algorithm>

#include "util/nearest_count.h"

namespace torvi {

namespace {

// Tables are made for sample sizes up to this many typed individuals, and
// for at most this many entries in all (about 32 bytes each).
constexpr int kTabulatedSize = 127;
constexpr size_t kTableEntryBudget = size_t{1} << 21;

}  // namespace

PairComponents::PairComponents(const CountTables& ct, bool tabulate)
    : ct_(ct), np_(ct.allele_count.size()), npp_(ct.allele_count.size()), nh_(ct.allele_count.size()),
      integers_(ct.allele_count.size()) {
  exact_integers_ = true;
  std::vector<int> sizes;
  for (int s = 1; s <= ct.np; ++s)
    for (int l = 1; l <= ct.nl; ++l) {
      const int32_t typed = ct.typed(s, l);
      if (typed > 1) sizes.push_back(typed);
      const long double n = typed;
      const size_t row = ct.row(s, l);
      for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) {
        const long double p = ct.allele_count[row + j], h = ct.het_allele_count[row + j];
        np_[row + j] = n * p;
        npp_[row + j] = np_[row + j] * p;
        nh_[row + j] = n * h;
        if (typed <= 1) continue;
        Integers& x = integers_[row + j];
        x.copies = nearest_count(p * (2 * n));
        x.carriers = nearest_count(h * n);
        exact_integers_ = exact_integers_ && x.copies / (2 * n) == p && x.carriers / n == h;
      }
    }
  if (exact_integers_ && tabulate) make_tables(sizes);
}

void PairComponents::make_tables(const std::vector<int>& sizes_present) {
  std::vector<int> sizes = sizes_present;
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  sizes.erase(std::upper_bound(sizes.begin(), sizes.end(), kTabulatedSize), sizes.end());
  if (sizes.empty()) return;
  tabulated_max_ = sizes.back();
  const auto side = static_cast<size_t>(tabulated_max_) + 1;
  table_of_.assign(side * side, -1);
  size_t entries = 0;
  for (size_t i = 0; i < sizes.size(); ++i)
    for (size_t k = i; k < sizes.size(); ++k) {
      const int ns = sizes[i], nt = sizes[k];
      const size_t needed = static_cast<size_t>(2 * ns + 1) * (2 * nt + 1) + static_cast<size_t>(ns + 1) * (nt + 1) +
                            static_cast<size_t>(kFewPairs) * kFewPairs;
      if (entries + needed > kTableEntryBudget) return;
      entries += needed;
      const long double nsl = ns, ntl = nt;
      const Sizes z(nsl, ntl);
      Tables t{ns, nt, z, {}, {}, {}};
      // The products exactly as the direct path forms them from p = c / 2n
      // and h = x / n.
      for (int cs = 0; cs <= 2 * ns; ++cs) {
        const long double ps = cs / (2 * nsl), Ps = nsl * ps, Qs = Ps * ps;
        for (int ct = 0; ct <= 2 * nt; ++ct) {
          const long double pt = ct / (2 * ntl), Pt = ntl * pt, Qt = Pt * pt;
          t.copies.push_back(z.copy_parts(Ps, Pt, Qs, Qt));
        }
      }
      for (int xs = 0; xs <= ns; ++xs)
        for (int xt = 0; xt <= nt; ++xt) t.carriers.push_back(z.carrier_parts(nsl * (xs / nsl), ntl * (xt / ntl)));
      if (!make_few_terms(z, t)) continue;
      table_of_[static_cast<size_t>(ns) * side + nt] = static_cast<int32_t>(tables_.size());
      tables_.push_back(std::move(t));
    }
}

// The whole terms of an allele from the same parts the loop would look up.
// False in the unlikely case that a term does not split exactly into two
// doubles: that pair of sizes then takes the direct formulas.
bool PairComponents::make_few_terms(const Sizes& z, Tables& t) {
  t.few.assign(static_cast<size_t>(kFewPairs) * kFewPairs, SplitTerms{});
  for (int cs = 0; cs < kFewCopies && cs <= 2 * t.ns; ++cs)
    for (int xs = 0; xs <= cs && xs <= t.ns; ++xs)
      for (int ct = 0; ct < kFewCopies && ct <= 2 * t.nt; ++ct)
        for (int xt = 0; xt <= ct && xt <= t.nt; ++xt) {
          const AlleleTerms e = z.terms(t.copies[static_cast<size_t>(cs) * (2 * t.nt + 1) + ct],
                                        t.carriers[static_cast<size_t>(xs) * (t.nt + 1) + xt]);
          const SplitTerms split{SplitReal::of(e.abc), SplitReal::of(e.a)};
          if (split.abc.value() != e.abc || split.a.value() != e.a) return false;
          t.few[static_cast<size_t>(few(cs, xs)) * kFewPairs + few(ct, xt)] = split;
        }
  return true;
}

const PairComponents::Tables* PairComponents::tables_for(int ns, int nt) const {
  if (ns > tabulated_max_ || nt > tabulated_max_) return nullptr;
  const int32_t i = table_of_[static_cast<size_t>(ns) * (tabulated_max_ + 1) + nt];
  return i < 0 ? nullptr : &tables_[static_cast<size_t>(i)];
}

// The sums of one pair at one locus, taken allele by allele from the tables.
struct PairComponents::PairAtLocus {
  const Tables* tables = nullptr;
  const Integers* is = nullptr;
  const Integers* it = nullptr;
  long double tot = 0, sa = 0;

  void add(int j) {
    const int32_t cs = is[j].copies, ct = it[j].copies, xs = is[j].carriers, xt = it[j].carriers;
    // An allele absent from both samples adds exactly 0: it is passed over.
    if ((cs | ct) == 0) return;
    if (cs < kFewCopies && ct < kFewCopies) {
      const SplitTerms& e = tables->few[static_cast<size_t>(few(cs, xs)) * kFewPairs + few(ct, xt)];
      tot += e.abc.value();
      sa += e.a.value();
      return;
    }
    const int nt = tables->nt;
    tables->sizes.add(tables->copies[static_cast<size_t>(cs) * (2 * nt + 1) + ct],
                      tables->carriers[static_cast<size_t>(xs) * (nt + 1) + xt], tot, sa);
  }
};

// Which pair of samples of the locus takes which role (tables keep ns <= nt),
// or false when the pair has nothing at the locus.
bool PairComponents::order(int& s, int& t, int l) const {
  const int ns = ct_.typed(s, l), nt = ct_.typed(t, l);
  if (ns <= 1 || nt <= 1) return false;
  if (ns > nt) std::swap(s, t);
  return true;
}

bool PairComponents::from_tables(int s, int t, int l, PairAtLocus& pair) const {
  pair.tables = tables_for(ct_.typed(s, l), ct_.typed(t, l));
  pair.is = integers_.data() + ct_.row(s, l);
  pair.it = integers_.data() + ct_.row(t, l);
  return pair.tables != nullptr;
}

void PairComponents::add_locus(int s, int t, int l, PairSums& out) const {
  if (!order(s, t, l)) return;
  const int k = ct_.index->alleles_at_locus(l);
  PairAtLocus one;
  if (from_tables(s, t, l, one)) {
    for (int j = 0; j < k; ++j) one.add(j);
  } else {
    const Sizes z(ct_.typed(s, l), ct_.typed(t, l));
    const size_t rs = ct_.row(s, l), rt = ct_.row(t, l);
    for (size_t js = rs, jt = rt; js < rs + k; ++js, ++jt) {
      if (np_[js] == 0 && np_[jt] == 0) continue;
      z.add(z.copy_parts(np_[js], np_[jt], npp_[js], npp_[jt]), z.carrier_parts(nh_[js], nh_[jt]), one.tot, one.sa);
    }
  }
  out.tot += one.tot;
  out.sa += one.sa;
}

PairSums PairComponents::sums(int s, int t) const {
  PairSums out;
  for (int l = 1; l <= ct_.nl; ++l) add_locus(s, t, l, out);
  return out;
}

}  // namespace torvi
