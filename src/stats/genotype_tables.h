#pragma once

#include "model/analysis.h"

namespace torvi {

// Observed and expected genotype counts per sample and locus, written to
// base_name + ".x2" (created anew). Reads the count tables as counts.
void genotype_tables(const Analysis& an);

}  // namespace torvi
