#include "ld/genotypes.h"

#include <algorithm>

namespace torvi {

LdGenotypes::LdGenotypes(const DataSet& ds, const AlleleIndex& alleles)
    : np_(ds.np), nl_(ds.nl), k_(ds.nl + 1, 0), k_formula_(ds.nl + 1, 0), allele_first_(ds.nl + 2, 0),
      size_(ds.np + 1, 0), sample_offset_(ds.np + 1, 0) {
  const int base = ds.coding_base;
  const std::vector<int32_t> position_of = place_individuals(ds);
  geno_.assign(positions_per_locus_ * static_cast<size_t>(nl_), 0);
  present_first_.assign(static_cast<size_t>(np_) * nl_ + 1, 0);

  std::vector<int> index_of(static_cast<size_t>(base) + 1, 0);  // allele id -> index at this locus
  std::vector<int32_t> genotype_index(static_cast<size_t>(ds.ni) + 1, 0);
  std::vector<std::vector<int32_t>> sample_genotypes(static_cast<size_t>(np_) + 1);
  for (int l = 1; l <= nl_; ++l) {
    const int seen = order_alleles(ds, l, index_of);
    k_[l] = alleles.alleles_at_locus(l);
    k_formula_[l] = std::max(k_[l], seen);
    const int k = k_formula_[l];
    for (int i = 1; i <= ds.ni; ++i) {
      int code = ds.geno(l, i);
      int a = code / base, b = code % base;
      genotype_index[i] = (code == 0 || a == 0 || b == 0) ? 0 : ld_genotype_index(index_of[a], index_of[b], k);
    }
    list_present(ds, l, genotype_index, sample_genotypes);
    place_genotypes(ds, l, genotype_index, position_of);
  }
  allele_first_[nl_ + 1] = static_cast<int>(allele_order_.size());
}

// Positions: each individual takes the next position of its sample, in file order.
std::vector<int32_t> LdGenotypes::place_individuals(const DataSet& ds) {
  std::vector<int32_t> position_of(static_cast<size_t>(ds.ni) + 1, 0);
  for (int i = 1; i <= ds.ni; ++i) position_of[i] = ++size_[ds.sample_of[i]];
  size_t offset = 0;
  for (int s = 1; s <= np_; ++s) {
    sample_offset_[s] = offset;
    offset += static_cast<size_t>(size_[s]) + 1;  // position 0 is spare
    largest_ = std::max(largest_, size_[s]);
  }
  positions_per_locus_ = offset;
  return position_of;
}

// Allele order at locus l: first appearance, the first allele of a code
// before the second. Returns the number of alleles seen.
int LdGenotypes::order_alleles(const DataSet& ds, int l, std::vector<int>& index_of) {
  const int base = ds.coding_base;
  allele_first_[l] = static_cast<int>(allele_order_.size());
  std::fill(index_of.begin(), index_of.end(), 0);
  int seen = 0;
  auto index = [&](int a) {
    if (index_of[a] == 0) {
      index_of[a] = ++seen;
      allele_order_.push_back(a);
    }
  };
  for (int i = 1; i <= ds.ni; ++i) {
    int code = ds.geno(l, i);
    int a = code / base, b = code % base;
    if (code == 0 || a == 0 || b == 0) continue;
    index(a);
    index(b);
  }
  return seen;
}

// The genotypes present in each sample at locus l, ascending.
void LdGenotypes::list_present(const DataSet& ds, int l, const std::vector<int32_t>& genotype_index,
                               std::vector<std::vector<int32_t>>& sample_genotypes) {
  for (auto& v : sample_genotypes) v.clear();
  for (int i = 1; i <= ds.ni; ++i)
    if (genotype_index[i] != 0) sample_genotypes[ds.sample_of[i]].push_back(genotype_index[i]);
  for (int s = 1; s <= np_; ++s) {
    auto& g = sample_genotypes[s];
    std::sort(g.begin(), g.end());
    g.erase(std::unique(g.begin(), g.end()), g.end());
    size_t slot = present_slot(s, l);
    present_first_[slot] = present_.size();
    present_.insert(present_.end(), g.begin(), g.end());
    present_first_[slot + 1] = present_.size();
  }
}

// Compact codes by position; every sample's present list is final now.
void LdGenotypes::place_genotypes(const DataSet& ds, int l, const std::vector<int32_t>& genotype_index,
                                  const std::vector<int32_t>& position_of) {
  for (int i = 1; i <= ds.ni; ++i) {
    int s = ds.sample_of[i];
    int32_t gi = genotype_index[i];
    if (gi == 0) continue;
    const int32_t* first = present_begin(s, l);
    const int32_t* found = std::lower_bound(first, present_end(s, l), gi);
    positions(l, s)[position_of[i]] = static_cast<int32_t>(found - first) + 1;
  }
}

void LdGenotypes::alleles_of(int l, int32_t genotype_index, int& i, int& j) const {
  const int k = k_formula_[l];
  i = (genotype_index - 1) / k;
  j = genotype_index - i * k;
}

}  // namespace torvi
