#pragma once

#include <vector>

#include "model/count_tables.h"

namespace torvi {

// Expected number of alleles in g = 2 x min_typed genes drawn without
// replacement, by rarefaction; requires ct.min_typed >= 1. Reads counts.
// `per_sample` receives (np + 1) x (nl + 1) entries, [s * (nl + 1) + l];
// `over_samples` receives nl + 1 entries, [l], for the samples pooled.
void allelic_richness(const CountTables& ct, std::vector<long double>& per_sample,
                      std::vector<long double>& over_samples);

}  // namespace torvi
