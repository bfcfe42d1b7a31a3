#pragma once

#include <vector>

#include "model/count_tables.h"

namespace torvi {

// Within-sample Fis (Weir and Cockerham's f for one sample) of every sample at
// every locus and over loci, from the allele counts of `ct` and the
// heterozygote copies `het`, laid out like ct.het_allele_count so that a
// randomised table can stand in for the observed one. Reads counts.
//
// `fis` must hold (np + 1) x (nl + 1) entries, [s * (nl + 1) + l]; column 0
// receives the value over loci. Cells that cannot be formed (fewer than two
// typed individuals, or no polymorphic allele) receive na_value; values within
// 1e-5 of zero become 0. Allocates nothing.
void fis_within(const CountTables& ct, const std::vector<long double>& het, std::vector<long double>& fis);

}  // namespace torvi
