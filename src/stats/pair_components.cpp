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

// The constants of a pair of samples of ns and nt typed individuals.
struct PairComponents::Sizes {
  long double nbar, two_nbar, nbar_less_1, nc, h_scale, h_divisor;
  Sizes(long double ns, long double nt)
      : nbar((ns + nt) / 2), two_nbar(2 * nbar), nbar_less_1(nbar - 1),
        nc(two_nbar - (ns * ns + nt * nt) / two_nbar), h_scale(2 * nbar - 1), h_divisor(4 * nbar) {}

  CopyParts copy_parts(long double Ps, long double Pt, long double Qs, long double Qt) const {
    const long double pm = (Ps + Pt) / two_nbar;
    const long double s2 = (Qs + Qt - two_nbar * pm * pm) / nbar;
    return {s2, pm * (1 - pm) - s2 / 2};
  }
  CarrierParts carrier_parts(long double Hs, long double Ht) const {
    const long double hm = (Hs + Ht) / two_nbar;
    return {hm, h_scale * hm / h_divisor};
  }
  // Adds the allele's a + b + c and a.
  void add(const CopyParts& e, const CarrierParts& f, long double& tot, long double& sa) const {
    const long double a = nbar * (e.s2 - (e.q - f.hm / 4) / nbar_less_1) / nc;
    const long double b = nbar * (e.q - f.h_term) / nbar_less_1;
    const long double c = f.hm / 2;
    tot += a + b + c;
    sa += a;
  }
};

PairComponents::PairComponents(const CountTables& ct, bool tabulate)
    : ct_(ct), np_(ct.allele_count.size()), npp_(ct.allele_count.size()), nh_(ct.allele_count.size()),
      copies_(ct.allele_count.size()), carriers_(ct.allele_count.size()) {
  integers_ = true;
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
        copies_[row + j] = nearest_count(p * (2 * n));
        carriers_[row + j] = nearest_count(h * n);
        integers_ = integers_ && copies_[row + j] / (2 * n) == p && carriers_[row + j] / n == h;
      }
    }
  if (integers_ && tabulate) make_tables(sizes);
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
      const size_t needed = static_cast<size_t>(2 * ns + 1) * (2 * nt + 1) + static_cast<size_t>(ns + 1) * (nt + 1);
      if (entries + needed > kTableEntryBudget) return;
      entries += needed;
      table_of_[static_cast<size_t>(ns) * side + nt] = static_cast<int32_t>(tables_.size());
      Tables t{ns, nt, {}, {}};
      const long double nsl = ns, ntl = nt;
      const Sizes z(nsl, ntl);
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
      tables_.push_back(std::move(t));
    }
}

const PairComponents::Tables* PairComponents::tables_for(int ns, int nt) const {
  if (ns > tabulated_max_ || nt > tabulated_max_) return nullptr;
  const int32_t i = table_of_[static_cast<size_t>(ns) * (tabulated_max_ + 1) + nt];
  return i < 0 ? nullptr : &tables_[static_cast<size_t>(i)];
}

PairSums PairComponents::sums(int s, int t) const {
  const AlleleIndex& ix = *ct_.index;
  PairSums out;
  for (int l = 1; l <= ct_.nl; ++l) {
    int ns = ct_.typed(s, l), nt = ct_.typed(t, l);
    if (ns <= 1 || nt <= 1) continue;
    size_t rs = ct_.row(s, l), rt = ct_.row(t, l);
    // The terms are symmetric in the two samples: tables keep ns <= nt.
    if (ns > nt) {
      std::swap(ns, nt);
      std::swap(rs, rt);
    }
    const Sizes z(ns, nt);
    const Tables* tables = tables_for(ns, nt);
    long double tot = 0, sa = 0;
    const int k = ix.alleles_at_locus(l);
    // An allele absent from both samples adds exactly 0: it is passed over.
    if (tables) {
      const int32_t *cs = &copies_[rs], *ct = &copies_[rt], *xs = &carriers_[rs], *xt = &carriers_[rt];
      for (int j = 0; j < k; ++j) {
        if ((cs[j] | ct[j]) == 0) continue;
        z.add(tables->copies[static_cast<size_t>(cs[j]) * (2 * nt + 1) + ct[j]],
              tables->carriers[static_cast<size_t>(xs[j]) * (nt + 1) + xt[j]], tot, sa);
      }
    } else {
      for (size_t js = rs, jt = rt; js < rs + k; ++js, ++jt) {
        if (np_[js] == 0 && np_[jt] == 0) continue;
        z.add(z.copy_parts(np_[js], np_[jt], npp_[js], npp_[jt]), z.carrier_parts(nh_[js], nh_[jt]), tot, sa);
      }
    }
    out.tot += tot;
    out.sa += sa;
  }
  return out;
}

}  // namespace torvi
