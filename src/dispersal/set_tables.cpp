#include "dispersal/set_tables.h"

#include <algorithm>

namespace torvi::dispersal {

IndexedSet index_alleles(const GenotypeSet& set) {
  IndexedSet x;
  x.np = set.np;
  x.nl = set.nl;
  x.ni = set.ni;
  x.cumulative = set.cumulative;
  const size_t cells = static_cast<size_t>(set.ni) * static_cast<size_t>(set.nl);
  // Which allele numbers occur at each locus, then their indices in order.
  std::vector<int32_t> index(static_cast<size_t>(set.nl) * (static_cast<size_t>(set.nu) + 1), -1);
  for (size_t c = 0; c < cells; ++c)
    if (const int32_t g = set.codes[c]; g != 0) {
      const size_t row = (c % static_cast<size_t>(set.nl)) * (static_cast<size_t>(set.nu) + 1);
      index[row + static_cast<size_t>(g / set.coding_base)] = 0;
      index[row + static_cast<size_t>(g % set.coding_base)] = 0;
    }
  x.locus_first.push_back(0);
  for (int32_t l = 0; l < set.nl; ++l) {
    for (int32_t a = 1; a <= set.nu; ++a) {
      int32_t& i = index[static_cast<size_t>(l) * (static_cast<size_t>(set.nu) + 1) + static_cast<size_t>(a)];
      if (i < 0) continue;
      i = static_cast<int32_t>(x.allele_of.size());
      x.allele_of.push_back(a);
    }
    x.locus_first.push_back(static_cast<int32_t>(x.allele_of.size()));
  }
  x.first_allele.assign(cells, -1);
  x.second_allele.assign(cells, -1);
  for (size_t c = 0; c < cells; ++c)
    if (const int32_t g = set.codes[c]; g != 0) {
      const size_t row = (c % static_cast<size_t>(set.nl)) * (static_cast<size_t>(set.nu) + 1);
      x.first_allele[c] = index[row + static_cast<size_t>(g / set.coding_base)];
      x.second_allele[c] = index[row + static_cast<size_t>(g % set.coding_base)];
    }
  return x;
}

int32_t IndexedSet::largest_sample() const {
  int32_t largest = 0;
  for (size_t s = 1; s < cumulative.size(); ++s) largest = std::max(largest, cumulative[s] - cumulative[s - 1]);
  return largest;
}

CountTables::CountTables(int32_t samples, int32_t loci, int32_t alleles)
    : np(samples),
      nl(loci),
      typed(static_cast<size_t>(samples) * static_cast<size_t>(loci), 0),
      copies(static_cast<size_t>(samples) * static_cast<size_t>(alleles), 0),
      het(static_cast<size_t>(samples) * static_cast<size_t>(alleles), 0) {}

void CountTables::clear() {
  std::fill(typed.begin(), typed.end(), 0);
  std::fill(copies.begin(), copies.end(), 0);
  std::fill(het.begin(), het.end(), 0);
}

void CountTables::add(const IndexedSet& set, int32_t k, int32_t s) {
  const size_t row = static_cast<size_t>(k) * static_cast<size_t>(nl);
  const size_t column = static_cast<size_t>(s) - 1;
  for (int32_t l = 0; l < nl; ++l) {
    const int32_t a = set.first_allele[row + static_cast<size_t>(l)];
    if (a < 0) continue;
    const int32_t b = set.second_allele[row + static_cast<size_t>(l)];
    ++typed[static_cast<size_t>(l) * static_cast<size_t>(np) + column];
    ++copies[static_cast<size_t>(a) * static_cast<size_t>(np) + column];
    ++copies[static_cast<size_t>(b) * static_cast<size_t>(np) + column];
    if (a != b) {
      ++het[static_cast<size_t>(a) * static_cast<size_t>(np) + column];
      ++het[static_cast<size_t>(b) * static_cast<size_t>(np) + column];
    }
  }
}

void CountTables::difference(const CountTables& whole, const CountTables& part) {
  for (size_t i = 0; i < typed.size(); ++i) typed[i] = whole.typed[i] - part.typed[i];
  for (size_t i = 0; i < copies.size(); ++i) copies[i] = whole.copies[i] - part.copies[i];
  for (size_t i = 0; i < het.size(); ++i) het[i] = whole.het[i] - part.het[i];
}

CountTables count_set(const IndexedSet& set) {
  CountTables t(set.np, set.nl, set.alleles());
  for (int32_t s = 1; s <= set.np; ++s)
    for (int32_t k = set.cumulative[static_cast<size_t>(s) - 1]; k < set.cumulative[static_cast<size_t>(s)]; ++k)
      t.add(set, k, s);
  return t;
}

}  // namespace torvi::dispersal
