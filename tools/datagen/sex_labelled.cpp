#include "datagen/sex_labelled.h"

#include <cstdio>
#include <random>
#include <stdexcept>

#include "datagen/allele_model.h"

namespace torvi::datagen {

namespace {

constexpr int kMaxTwoDigitAllele = 99;

// Sample of birth: the sample itself, or with probability `migration`
// another one chosen at random.
int birth_sample(int p, int samples, double migration, std::mt19937_64& gen) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  if (samples < 2 || unit(gen) >= migration) return p;
  const int other = std::uniform_int_distribution<int>(0, samples - 2)(gen);
  return other >= p ? other + 1 : other;
}

void append_record(std::string& out, char letter, int number, int origin, const SexShape& s, AlleleModel& model,
                   std::mt19937_64& gen) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c%d,", letter, number);
  out += buf;
  for (int l = 0; l < s.loci; ++l) {
    int code = 0;
    if (unit(gen) >= s.missing_rate) code = model.draw(l, origin, gen) * 100 + model.draw(l, origin, gen);
    std::snprintf(buf, sizeof buf, " %04d", code);
    out += buf;
  }
  out += '\n';
}

}  // namespace

std::string generate_sex_labelled_file(const SexShape& s) {
  if (s.samples < 1 || s.loci < 1 || s.max_allele < 1 || s.max_allele > kMaxTwoDigitAllele ||
      s.alleles_per_locus < 1 || s.phil_per_sample < 0 || s.disp_per_sample < 0)
    throw std::invalid_argument("impossible sex-labelled shape");
  std::mt19937_64 gen(s.seed);
  const int k = std::min(s.alleles_per_locus, s.max_allele);
  AlleleModel model = make_allele_model(s.loci, s.samples, 1, s.max_allele, k, s.differentiation, gen);

  std::string out = std::to_string(s.samples) + " " + std::to_string(s.loci) + " " + std::to_string(s.max_allele) + "\n";
  for (int l = 0; l < s.loci; ++l) out += (l ? ", loc" : "loc") + std::to_string(l + 1);
  out += "\n";
  for (int p = 0; p < s.samples; ++p) {
    out += "Pop\n";
    int phil_left = s.phil_per_sample, disp_left = s.disp_per_sample, number = 0;
    while (phil_left + disp_left > 0) {
      // The two sexes in random order, each in proportion to what is left.
      const bool phil = std::uniform_int_distribution<int>(1, phil_left + disp_left)(gen) <= phil_left;
      (phil ? phil_left : disp_left) -= 1;
      const int origin = birth_sample(p, s.samples, phil ? s.phil_migration : s.disp_migration, gen);
      append_record(out, phil ? s.phil_letter : s.disp_letter, ++number, origin, s, model, gen);
    }
  }
  return out;
}

}  // namespace torvi::datagen
