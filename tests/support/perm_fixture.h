#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "datagen/generator.h"
#include "model/analysis.h"
#include "run/data_set_lifecycle.h"
#include "stats/fis_within.h"
#include "stats/g_statistics.h"
#include "stats/wc_components.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi::testing {

// Every value of the count tables, to the last digit: what a test leaves
// for the next one.
inline std::string table_digest(const CountTables& ct) {
  std::string text;
  char buf[64];
  for (const auto* table : {&ct.allele_count, &ct.het_allele_count})
    for (long double v : *table) {
      std::snprintf(buf, sizeof buf, "%.21Lg\n", v);
      text += buf;
    }
  return text;
}

// A data file read as the run driver reads it, with the context a test needs.
struct PermRun {
  TempDir dir;
  ScriptedHost host;
  Rng rng{12345, 67890};
  NbPerm nb;
  RunOptions opt;
  Analysis an;
  int threads = 1;

  explicit PermRun(const std::string& tag) : dir(tag) {}

  // Reads the file and counts; the within-sample Fis is filled as the
  // per-sample report leaves it.
  void load(const std::string& text) {
    an.base_name = dir.file("d");
    ASSERT_TRUE(create_data_set(host, dir.write("d.dat", text), an));
    count_alleles(an.ds, an.ct);
    an.ds.sample_names.assign(an.ds.np + 1, "");
    for (int s = 1; s <= an.ds.np; ++s) an.ds.sample_names[s] = ("pop" + std::to_string(s)).substr(0, 6);
    fill_fis();
  }
  // The observed calls of the driver for samples first..last (0: the last
  // sample): frequencies from here on.
  void observe(int first = 1, int last = 0) {
    wc_components(an.ct, an.wc, first, last == 0 ? an.ds.np : last, TablesOf::observed);
    locus_g(an.ct, an.g, TablesOf::observed);
  }
  RunContext ctx() { return RunContext{host, rng, opt, nb, dir.file("d.out"), threads}; }
  std::string result() const { return read_file(dir.file("d.out")); }
  // The result file, then what the tables hold.
  std::string result_and_tables() const { return result() + table_digest(an.ct); }

 private:
  void fill_fis() { fis_within(an.ct, an.ct.het_allele_count, an.fis_sample_locus); }
};

// Small generated data sets of the test families.
inline std::string small_data(int samples, int loci, int individuals, double missing, uint64_t seed) {
  datagen::Shape shape;
  shape.samples = samples;
  shape.loci = loci;
  shape.individuals_per_sample = individuals;
  shape.alleles_per_locus = 5;
  shape.max_allele = 12;
  shape.missing_rate = missing;
  shape.differentiation = 0.3;
  shape.inbreeding = 0.1;
  shape.seed = seed;
  return datagen::generate_data_file(shape);
}

}  // namespace torvi::testing
