#include "datagen/allele_model.h"

#include <algorithm>
#include <numeric>

namespace torvi::datagen {

AlleleModel make_allele_model(int loci, int samples, int min_allele, int span, int k, double differentiation,
                              std::mt19937_64& gen) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  AlleleModel m;
  m.ids.resize(loci);
  // Built once per locus and sample: a distribution holds no state between
  // draws, and building one per draw dominated the time on large shapes.
  m.freq.resize(loci);
  for (int l = 0; l < loci; ++l) {
    std::vector<int> all(span);
    std::iota(all.begin(), all.end(), min_allele);
    std::shuffle(all.begin(), all.end(), gen);
    m.ids[l].assign(all.begin(), all.begin() + k);
    std::vector<double> global(k);
    for (double& g : global) g = 0.2 + unit(gen);
    m.freq[l].reserve(samples);
    std::vector<double> w(k);
    for (int p = 0; p < samples; ++p) {
      for (int a = 0; a < k; ++a)
        w[a] = (1.0 - differentiation) * global[a] + differentiation * 3.0 * unit(gen) * unit(gen);
      m.freq[l].emplace_back(w.begin(), w.end());
    }
  }
  return m;
}

}  // namespace torvi::datagen
