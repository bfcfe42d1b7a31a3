#include "stats/allelic_richness.h"

namespace torvi {

namespace {

// Once the probability of absence falls below 2^-66, 1 - absent rounds to 1 in
// extended precision whatever the remaining factors (all below 1) do, so the
// product can stop there without changing the result.
constexpr long double kNegligible = 0x1p-66L;

// Sum over alleles of the probability of drawing the allele at least once in
// `g` of `genes` genes, where allele k has copies[k] copies.
long double rarefied_alleles(const long double* copies, int alleles, long double genes, int g) {
  long double richness = 0.0L;
  for (int k = 0; k < alleles; ++k) {
    const long double na = copies[k];
    if (na <= 0.0L) continue;
    const long double others = genes - na;
    long double absent = 0.0L;  // probability that the allele is not drawn
    if (others >= g) {
      absent = others / genes;
      for (int f = 1; f < g && absent >= kNegligible; ++f) absent *= (others - f) / (genes - f);
    }
    richness += 1.0L - absent;
  }
  return richness;
}

}  // namespace

void allelic_richness(const CountTables& ct, std::vector<long double>& per_sample,
                      std::vector<long double>& over_samples) {
  const AlleleIndex& ix = *ct.index;
  const int g = 2 * ct.min_typed;
  per_sample.assign(static_cast<size_t>(ct.np + 1) * (ct.nl + 1), 0.0L);
  over_samples.assign(static_cast<size_t>(ct.nl + 1), 0.0L);
  for (int l = 1; l <= ct.nl; ++l) {
    const int k = ix.alleles_at_locus(l);
    long double all_genes = 0.0L;
    for (int s = 1; s <= ct.np; ++s) {
      const long double genes = 2.0L * ct.typed(s, l);
      per_sample[static_cast<size_t>(s) * (ct.nl + 1) + l] = rarefied_alleles(ct.allele_row(s, l), k, genes, g);
      all_genes += genes;
    }
    over_samples[l] = rarefied_alleles(ct.total_row(l), k, all_genes, g);
  }
}

}  // namespace torvi
