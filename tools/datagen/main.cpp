// torvi-datagen: writes a synthetic data file of a chosen shape, or a
// sex-labelled genotype file for the biased-dispersal tests.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>

#include "datagen/generator.h"
#include "datagen/sex_labelled.h"

int main(int argc, char** argv) {
  torvi::datagen::Shape shape;
  std::string output;
  CLI::App app{"Writes a synthetic data file of diploid multilocus genotypes"};
  app.add_option("--samples", shape.samples, "Number of samples")->check(CLI::Range(1, 200));
  app.add_option("--loci", shape.loci, "Number of loci")->check(CLI::Range(1, 600));
  app.add_option("--alleles", shape.alleles_per_locus, "Distinct alleles drawn per locus")
      ->check(CLI::Range(1, 999));
  app.add_option("--min-allele", shape.min_allele, "Smallest allele identifier")->check(CLI::Range(1, 999));
  app.add_option("--max-allele", shape.max_allele, "Largest allele identifier")->check(CLI::Range(1, 999));
  app.add_option("--individuals", shape.individuals_per_sample, "Individuals per sample")
      ->check(CLI::Range(0, 200000));
  app.add_option("--missing", shape.missing_rate, "Probability that a genotype is untyped")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--differentiation", shape.differentiation, "0: samples share allele frequencies; up to 1")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--inbreeding", shape.inbreeding, "Probability that an individual is homozygous by descent")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--digits", shape.allele_digits, "Digits per allele (0: the fewest that hold --max-allele)")
      ->check(CLI::Range(0, 3));
  app.add_option("--seed", shape.seed, "Seed of the generator");
  app.add_option("-o,--output", output, "Data file to write (standard output when absent)");
  bool sexes = false;
  torvi::datagen::SexShape sex;
  auto* group = "Sex-labelled file (.gen) for the biased-dispersal tests";
  app.add_flag("--sex-labelled", sexes, "Write a sex-labelled file instead (alleles up to 99)")->group(group);
  app.add_option("--phil", sex.phil_per_sample, "Individuals of the philopatric sex (F) per sample")->group(group);
  app.add_option("--disp", sex.disp_per_sample, "Individuals of the other sex (M) per sample")->group(group);
  app.add_option("--phil-migration", sex.phil_migration, "Probability that an F was born in another sample")
      ->check(CLI::Range(0.0, 1.0))
      ->group(group);
  app.add_option("--disp-migration", sex.disp_migration, "Probability that an M was born in another sample")
      ->check(CLI::Range(0.0, 1.0))
      ->group(group);
  CLI11_PARSE(app, argc, argv);

  if (sexes) {
    sex.samples = shape.samples;
    sex.loci = shape.loci;
    sex.alleles_per_locus = shape.alleles_per_locus;
    sex.max_allele = shape.max_allele;
    sex.missing_rate = shape.missing_rate;
    sex.differentiation = shape.differentiation;
    sex.seed = shape.seed;
  }

  if (static_cast<int64_t>(shape.samples) * shape.individuals_per_sample > 200000) {
    std::cerr << "torvi-datagen: more than 200000 individuals in all\n";
    return 2;
  }
  std::string text;
  try {
    text = sexes ? torvi::datagen::generate_sex_labelled_file(sex) : torvi::datagen::generate_data_file(shape);
  } catch (const std::invalid_argument& e) {
    std::cerr << "torvi-datagen: " << e.what() << '\n';
    return 2;
  }
  if (output.empty()) {
    std::cout << text;
    return std::cout ? 0 : 1;
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) {
    std::cerr << "torvi-datagen: cannot write " << output << '\n';
    return 1;
  }
  return 0;
}
