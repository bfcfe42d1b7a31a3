#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/analysis.h"
#include "model/count_tables.h"
#include "model/perm_counts.h"
#include "model/run_options.h"
#include "random/rng.h"
#include "stats/locus_report.h"
#include "stats/sample_report.h"
#include "support/scripted_host.h"

namespace torvi::testing {

// The per-locus report as a Run writes it when no per-sample test is asked.
inline void per_locus_report(RunContext& ctx, Analysis& an) {
  locus_report(ctx, an);
  sample_report(ctx, an);
  nei_report(ctx, an);
}

// A small data set typed in as genotype texts ("0102", "0000" untyped), one
// string of space-separated genotypes per individual, counted as a run would,
// with a run context writing to a fresh result file.
class ReportFixture {
 public:
  struct Individual {
    int sample;
    std::string genotypes;
  };

  ReportFixture(int np, const std::vector<std::string>& loci, const std::vector<Individual>& individuals,
                int allele_digits = 2) {
    DataSet& ds = an.ds;
    ds.np = np;
    ds.nl = static_cast<int>(loci.size());
    ds.allele_digits = allele_digits;
    ds.coding_base = allele_digits == 1 ? 10 : allele_digits == 2 ? 100 : 1000;
    ds.nu = ds.coding_base - 1;
    ds.ni = static_cast<int>(individuals.size());
    ds.locus_names.assign(1, "");
    ds.locus_names.insert(ds.locus_names.end(), loci.begin(), loci.end());
    ds.sample_names.assign(static_cast<size_t>(np) + 1, "");
    ds.sample_of.assign(static_cast<size_t>(ds.ni) + 1, 0);
    ds.codes.assign(static_cast<size_t>(ds.ni + 1) * ds.nl, 0);
    for (int i = 1; i <= ds.ni; ++i) {
      ds.sample_of[i] = individuals[i - 1].sample;
      std::istringstream in(individuals[i - 1].genotypes);
      for (int l = 1; l <= ds.nl; ++l) {
        std::string g;
        in >> g;
        ds.geno(l, i) = std::stoi(g.substr(0, allele_digits)) * ds.coding_base + std::stoi(g.substr(allele_digits));
      }
    }
    an.alleles = std::make_shared<const AlleleIndex>(AlleleIndex::from_data(ds));
    an.ct.allocate(ds, an.alleles);
    count_alleles(ds, an.ct);

    path = ::testing::TempDir() + "torvi_reports_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".out";
    std::remove(path.c_str());
  }
  ~ReportFixture() { std::remove(path.c_str()); }

  RunContext context() { return RunContext{host, rng, options, nb_perm, path, 1}; }

  std::string result_text() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  // Every section off, so that a test ticks only what it looks at.
  void untick_all() {
    options.CB_allfreq = options.CB_nal = options.CB_genediv = options.CB_nei = false;
    options.CB_Rar = options.CB_fis = options.CB_IFis = false;
  }

  Analysis an;
  RunOptions options;
  ScriptedHost host;
  Rng rng{1, 1};
  NbPerm nb_perm;
  std::string path;
};

}  // namespace torvi::testing
