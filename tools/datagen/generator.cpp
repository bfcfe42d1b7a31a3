#include "datagen/generator.h"

#include "datagen/allele_model.h"

#include <algorithm>
#include <cstdio>
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

  AlleleModel model = make_allele_model(s.loci, s.samples, s.min_allele, span, k, s.differentiation, gen);

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
          int a = model.draw(l, p, gen);
          int b = inbred ? a : model.draw(l, p, gen);
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
