#include "model/count_tables.h"

#include <algorithm>

namespace torvi {

AlleleIndex AlleleIndex::from_data(const DataSet& ds) {
  AlleleIndex ix;
  ix.nl = ds.nl;
  ix.nu = ds.nu;
  const size_t stride = static_cast<size_t>(ds.nu) + 1;
  // Mark the alleles present, then number them locus by locus, ascending.
  ix.slot_of.assign((static_cast<size_t>(ds.nl) + 1) * stride, -1);
  const int base = ds.coding_base;
  for (int i = 1; i <= ds.ni; ++i) {
    const int32_t* g = ds.genotypes_of(i);
    for (int l = 1; l <= ds.nl; ++l) {
      int32_t code = g[l - 1];
      if (code == 0) continue;
      ix.slot_of[l * stride + code / base] = 0;
      ix.slot_of[l * stride + code % base] = 0;
    }
  }
  ix.first.assign(static_cast<size_t>(ds.nl) + 2, 0);
  int32_t next = 0;
  for (int l = 1; l <= ds.nl; ++l) {
    ix.first[l] = next;
    for (int a = 1; a <= ds.nu; ++a) {
      int32_t& slot = ix.slot_of[l * stride + a];
      if (slot < 0) continue;
      slot = next++;
      ix.allele.push_back(static_cast<int16_t>(a));
    }
  }
  ix.first[ds.nl + 1] = next;
  return ix;
}

void CountTables::allocate(const DataSet& ds, std::shared_ptr<const AlleleIndex> idx) {
  index = std::move(idx);
  np = ds.np;
  nl = ds.nl;
  const size_t slots = static_cast<size_t>(index->total_slots());
  typed_count.assign((static_cast<size_t>(np) + 1) * (static_cast<size_t>(nl) + 1), 0);
  allele_count.assign(static_cast<size_t>(np) * slots, 0.0L);
  het_allele_count.assign(static_cast<size_t>(np) * slots, 0.0L);
  total_allele_count.assign(slots, 0.0L);
  min_typed = 0;
}

void count_alleles(const DataSet& ds, CountTables& ct) {
  std::fill(ct.typed_count.begin(), ct.typed_count.end(), 0);
  std::fill(ct.allele_count.begin(), ct.allele_count.end(), 0.0L);
  std::fill(ct.het_allele_count.begin(), ct.het_allele_count.end(), 0.0L);
  std::fill(ct.total_allele_count.begin(), ct.total_allele_count.end(), 0.0L);
  const AlleleIndex& ix = *ct.index;
  const int base = ds.coding_base;
  // A few loci at a time, so that their count blocks stay in cache while the
  // individuals are walked; the order of the additions does not change.
  constexpr int kLociPerPass = 16;
  for (int l0 = 1; l0 <= ds.nl; l0 += kLociPerPass) {
    const int l1 = std::min(ds.nl, l0 + kLociPerPass - 1);
    for (int i = 1; i <= ds.ni; ++i) {
      const int s = ds.sample_of[i];
      const int32_t* g = ds.genotypes_of(i);
      for (int l = l0; l <= l1; ++l) {
        const int32_t code = g[l - 1];
        if (code == 0) continue;
        const int a = ix.slot(l, code / base) - ix.first[l];
        const int b = ix.slot(l, code % base) - ix.first[l];
        ++ct.typed(s, l);
        long double* counts = ct.allele_row(s, l);
        long double* totals = ct.total_row(l);
        counts[a] += 1.0L;
        counts[b] += 1.0L;
        totals[a] += 1.0L;
        totals[b] += 1.0L;
        if (a != b) {
          long double* het = ct.het_row(s, l);
          het[a] += 1.0L;
          het[b] += 1.0L;
        }
      }
    }
  }
  ct.min_typed = 10000;
  for (int s = 1; s <= ct.np; ++s)
    for (int l = 1; l <= ct.nl; ++l) ct.min_typed = std::min(ct.min_typed, ct.typed(s, l));
}

}  // namespace torvi
