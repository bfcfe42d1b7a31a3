#include "datagen/generator.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

namespace torvi::datagen {

namespace {

int digits_for(int max_allele) { return max_allele < 10 ? 1 : max_allele < 100 ? 2 : 3; }

}  // namespace

std::string generate_data_file(const Shape& s) {
  int digits = s.allele_digits > 0 ? s.allele_digits : digits_for(s.max_allele);
  int span = s.max_allele - s.min_allele + 1;
  if (s.samples < 1 || s.loci < 1 || span < 1 || s.min_allele < 1 || s.max_allele > 999 ||
      s.alleles_per_locus < 1 || s.individuals_per_sample < 0 || digits > 3 || digits < digits_for(s.max_allele))
    throw std::invalid_argument("impossible data-set shape");
  int k = std::min(s.alleles_per_locus, span);
  int base = digits == 1 ? 10 : digits == 2 ? 100 : 1000;
  std::mt19937_64 gen(s.seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);

  // Per locus: k distinct identifiers and a global frequency set; per sample a
  // frequency set pulled away from it by `differentiation`.
  std::vector<std::vector<int>> ids(s.loci);
  // Built once per locus and sample: a distribution holds no state between
  // draws, and building one per draw dominated the time on large shapes.
  std::vector<std::vector<std::discrete_distribution<int>>> freq(s.loci);
  for (int l = 0; l < s.loci; ++l) {
    std::vector<int> all(span);
    std::iota(all.begin(), all.end(), s.min_allele);
    std::shuffle(all.begin(), all.end(), gen);
    ids[l].assign(all.begin(), all.begin() + k);
    std::vector<double> global(k);
    for (double& g : global) g = 0.2 + unit(gen);
    freq[l].reserve(s.samples);
    std::vector<double> w(k);
    for (int p = 0; p < s.samples; ++p) {
      for (int a = 0; a < k; ++a)
        w[a] = (1.0 - s.differentiation) * global[a] + s.differentiation * 3.0 * unit(gen) * unit(gen);
      freq[l].emplace_back(w.begin(), w.end());
    }
  }

  std::string out;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d %d %d %d\n", s.samples, s.loci, s.max_allele, digits);
  out += buf;
  for (int l = 0; l < s.loci; ++l) {
    std::snprintf(buf, sizeof buf, "loc%d\n", l + 1);
    out += buf;
  }
  for (int p = 0; p < s.samples; ++p) {
    for (int i = 0; i < s.individuals_per_sample; ++i) {
      std::snprintf(buf, sizeof buf, "%d", p + 1);
      out += buf;
      bool inbred = unit(gen) < s.inbreeding;
      for (int l = 0; l < s.loci; ++l) {
        int code = 0;
        if (unit(gen) >= s.missing_rate) {
          int a = ids[l][freq[l][p](gen)];
          int b = inbred ? a : ids[l][freq[l][p](gen)];
          code = a * base + b;
        }
        std::snprintf(buf, sizeof buf, " %0*d", 2 * digits, code);
        out += buf;
      }
      out += '\n';
    }
  }
  return out;
}

}  // namespace torvi::datagen
