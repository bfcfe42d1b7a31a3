#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ld/ld_test.h"
#include "model/analysis.h"
#include "random/rng.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi::testing {

// A data set built in memory: each individual is its sample number and one
// genotype code per locus (two-digit alleles, so 102 is 01/02).
struct LdCase {
  std::vector<std::string> loci;
  std::vector<std::string> samples;
  std::vector<std::vector<int>> individuals;  // {sample, code of locus 1, ...}
};

inline std::shared_ptr<AlleleIndex> alleles_present(const DataSet& ds) {
  auto ix = std::make_shared<AlleleIndex>();
  ix->nl = ds.nl;
  ix->nu = ds.nu;
  ix->first.assign(ds.nl + 2, 0);
  ix->slot_of.assign(static_cast<size_t>(ds.nl + 1) * (ds.nu + 1), -1);
  for (int l = 1; l <= ds.nl; ++l) {
    ix->first[l] = static_cast<int>(ix->allele.size());
    std::vector<bool> seen(ds.nu + 1, false);
    for (int i = 1; i <= ds.ni; ++i) {
      int code = ds.geno(l, i);
      if (code == 0) continue;
      seen[code / ds.coding_base] = seen[code % ds.coding_base] = true;
    }
    for (int a = 1; a <= ds.nu; ++a)
      if (seen[a]) {
        ix->slot_of[static_cast<size_t>(l) * (ds.nu + 1) + a] = static_cast<int>(ix->allele.size());
        ix->allele.push_back(static_cast<int16_t>(a));
      }
  }
  ix->first[ds.nl + 1] = static_cast<int>(ix->allele.size());
  return ix;
}

inline void fill(Analysis& an, const LdCase& c) {
  DataSet& ds = an.ds;
  ds.np = static_cast<int>(c.samples.size());
  ds.nl = static_cast<int>(c.loci.size());
  ds.nu = 99;
  ds.allele_digits = 2;
  ds.coding_base = 100;
  ds.ni = static_cast<int>(c.individuals.size());
  ds.locus_names = {""};
  ds.locus_names.insert(ds.locus_names.end(), c.loci.begin(), c.loci.end());
  ds.sample_names = {""};
  ds.sample_names.insert(ds.sample_names.end(), c.samples.begin(), c.samples.end());
  ds.sample_of.assign(ds.ni + 1, 0);
  ds.codes.assign(static_cast<size_t>(ds.ni + 1) * ds.nl, 0);
  ds.sample_size.assign(ds.np + 1, 0);
  for (int i = 1; i <= ds.ni; ++i) {
    const auto& ind = c.individuals[i - 1];
    ds.sample_of[i] = ind[0];
    for (int l = 1; l <= ds.nl; ++l) ds.geno(l, i) = ind[l];
  }
  for (int i = 1; i <= ds.ni; ++i) ++ds.sample_size[ds.sample_of[i]];
  for (int s = 1; s <= ds.np; ++s) ds.sample_size[s] += ds.sample_size[s - 1];
  an.alleles = alleles_present(ds);
}

// Everything one call of the test needs, with the files it writes.
struct LdRun {
  ScriptedHost host;
  Rng rng{12345, 67890};
  RunOptions options;
  NbPerm nb_perm;
  Analysis an;
  TempDir dir;

  LdRun(const LdCase& c, const std::string& name) : dir("ld_" + name) {
    fill(an, c);
    an.base_name = dir.file("data");
  }
  std::string result() const { return read_file(an.base_name + ".out"); }
  std::string file(const std::string& suffix) const { return read_file(an.base_name + suffix); }
  void run(int threads = 1) {
    RunContext ctx{host, rng, options, nb_perm, an.base_name + ".out", threads};
    ld_test(ctx, an);
  }
};

// Random genotypes: `alleles` alleles per locus (identifiers 1..alleles),
// each genotype untyped with probability `missing` (in percent).
inline LdCase random_case(int samples, int loci, int per_sample, int alleles, int missing, uint32_t seed) {
  std::mt19937 gen(seed);
  auto draw = [&](uint32_t n) { return static_cast<int>(gen() % n); };
  LdCase c;
  for (int l = 1; l <= loci; ++l) c.loci.push_back("Loc" + std::to_string(l));
  for (int s = 1; s <= samples; ++s) c.samples.push_back("P" + std::to_string(s));
  for (int s = 1; s <= samples; ++s)
    for (int i = 0; i < per_sample; ++i) {
      std::vector<int> ind{s};
      for (int l = 1; l <= loci; ++l) {
        // Skewed frequencies so that some cells hold several individuals.
        // (one draw per statement: argument order is unspecified)
        int a = draw(alleles);
        a = 1 + std::min(a, draw(alleles));
        int b = draw(alleles);
        b = 1 + std::min(b, draw(alleles));
        const bool untyped = draw(100) < missing;
        ind.push_back(untyped ? 0 : std::min(a, b) * 100 + std::max(a, b));
      }
      c.individuals.push_back(ind);
    }
  return c;
}

}  // namespace torvi::testing
