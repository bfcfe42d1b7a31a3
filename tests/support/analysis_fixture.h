#pragma once

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/analysis.h"
#include "support/scripted_host.h"

namespace torvi::testing {

// One individual: its sample and one (allele, allele) pair per locus; {0, 0}
// is untyped.
struct Individual {
  int sample;
  std::vector<std::pair<int, int>> alleles;
};

// An analysis built straight from genotypes, with counts filled and the
// variance-component state allocated (coding base 1000, individuals stored
// in the order given).
inline Analysis make_analysis(int np, int nl, const std::vector<Individual>& inds) {
  Analysis an;
  DataSet& ds = an.ds;
  ds.np = np;
  ds.nl = ds.nl_used = nl;
  ds.allele_digits = 3;
  ds.coding_base = 1000;
  ds.ni = static_cast<int>(inds.size());
  ds.locus_names.assign(nl + 1, "");
  for (int l = 1; l <= nl; ++l) ds.locus_names[l] = "L" + std::to_string(l);
  ds.sample_names.assign(np + 1, "pop");
  ds.sample_of.assign(ds.ni + 1, 0);
  ds.codes.assign(static_cast<size_t>(ds.ni + 1) * nl, 0);
  ds.sample_size.assign(np + 1, 0);
  for (int i = 1; i <= ds.ni; ++i) {
    const Individual& ind = inds[i - 1];
    ds.sample_of[i] = ind.sample;
    for (int s = ind.sample; s <= np; ++s) ++ds.sample_size[s];
    for (int l = 1; l <= nl; ++l) {
      auto [a, b] = ind.alleles[l - 1];
      ds.geno(l, i) = a * 1000 + b;
      ds.nu = std::max({ds.nu, a, b});
    }
  }

  an.alleles = std::make_shared<const AlleleIndex>(AlleleIndex::from_data(ds));
  an.ct.allocate(ds, an.alleles);
  count_alleles(ds, an.ct);
  an.wc.allocate(an.ct);
  return an;
}

// n individuals of sample s with the same genotype at every one of nl loci.
inline std::vector<Individual> repeat(int s, int n, int nl, std::pair<int, int> g) {
  return std::vector<Individual>(n, Individual{s, std::vector<std::pair<int, int>>(nl, g)});
}

inline void append(std::vector<Individual>& to, const std::vector<Individual>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// A run context writing to a fresh result file in a temporary folder.
struct SectionRun {
  ScriptedHost host;
  Rng rng{12345, 67890};
  RunOptions options;
  NbPerm nb_perm;
  RunContext ctx{host, rng, options, nb_perm, "", 1};
  std::filesystem::path dir;

  explicit SectionRun(const std::string& name) {
    dir = std::filesystem::temp_directory_path() / ("torvi_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ctx.result_name = (dir / "result.out").string();
    std::filesystem::remove(ctx.result_name);
  }
  ~SectionRun() { std::filesystem::remove_all(dir); }
  std::string base() const { return (dir / "data").string(); }
  std::string result() const { return read(ctx.result_name); }

  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

// The lines of a text with CR LF line ends (without them).
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t eol; (eol = text.find("\r\n", at)) != std::string::npos; at = eol + 2)
    out.push_back(text.substr(at, eol - at));
  return out;
}

}  // namespace torvi::testing
