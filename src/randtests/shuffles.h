#pragma once

#include <cstdint>

#include "data/data_set.h"
#include "random/rng.h"

namespace torvi {

// Fisher-Yates exchange of a 1-based list of m allele identifiers:
// for i = m down to 2, j = 1 + rnd_int(i), exchange list[i] and list[j].
void shuffle_alleles(int32_t* list, int m, Rng& rng);

// Exchanges whole multilocus genotypes among the complete individuals of
// positions 1..m (incomplete ones never move and are never drawn).
void shuffle_genotypes(DataSet& ds, int m, Rng& rng);

}  // namespace torvi
