#include "stats/genotype_tables.h"

#include <algorithm>
#include <cstdio>

#include "report/report_text.h"
#include "util/output_file.h"

namespace torvi {

namespace {

// Allele a then allele b, each with at least two digits: "0312", "101102".
std::string genotype_label(int a, int b) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d", a, b);
  return buf;
}

// Position of the pair of slots x <= y among the k(k+1)/2 pairs of a locus,
// in the order the file lists them.
size_t pair_index(int x, int y, int k) {
  return static_cast<size_t>(x) * k - static_cast<size_t>(x) * (x - 1) / 2 + (y - x);
}

// Individuals of each sample per genotype at locus l: cell s * pairs + pair.
void count_genotypes(const DataSet& ds, const AlleleIndex& ix, int l, int32_t* geno_obs) {
  const int k = ix.alleles_at_locus(l);
  const size_t pairs = static_cast<size_t>(k) * (k + 1) / 2;
  for (int i = 1; i <= ds.ni; ++i) {
    const int32_t g = ds.geno(l, i);
    if (g == 0) continue;
    int x = ix.slot(l, g / ds.coding_base) - ix.first[l];
    int y = ix.slot(l, g % ds.coding_base) - ix.first[l];
    if (x > y) std::swap(x, y);
    ++geno_obs[ds.sample_of[i] * pairs + pair_index(x, y, k)];
  }
}

// Expected counts of each genotype under random union of the sample's
// gametes, drawn without replacement; cells of absent alleles stay 0.
void expected_genotypes(const CountTables& ct, int np, int l, long double* geno_exp) {
  const int k = ct.index->alleles_at_locus(l);
  const size_t pairs = static_cast<size_t>(k) * (k + 1) / 2;
  for (int s = 1; s <= np; ++s) {
    const long double n = ct.typed(s, l);
    const long double* c = ct.allele_row(s, l);
    for (int x = 0; x < k; ++x) {
      for (int y = x; y < k; ++y) {
        if (!(c[x] > 0.0L && c[y] > 0.0L)) continue;
        const long double p_a = c[x] / (2.0L * n);
        long double e = x == y ? n / (2.0L * n - 1.0L) * p_a * (c[x] - 1.0L)
                               : n / (2.0L * n - 1.0L) * 2.0L * p_a * c[y];
        geno_exp[s * pairs + pair_index(x, y, k)] = e;
      }
    }
  }
}

}  // namespace

void genotype_tables(const Analysis& an) {
  const DataSet& ds = an.ds;
  const CountTables& ct = an.ct;
  const AlleleIndex& ix = *ct.index;
  const int np = ds.np;

  // One locus at a time: np rows of the pairs of alleles present there.
  int k_max = 0;
  for (int l = 1; l <= ds.nl; ++l) k_max = std::max(k_max, ix.alleles_at_locus(l));
  const size_t pairs_max = static_cast<size_t>(k_max) * (k_max + 1) / 2;
  // Observed counts are whole numbers: written as such, they read as the
  // reals with 0 decimals.
  std::vector<int32_t> geno_obs(static_cast<size_t>(np + 1) * pairs_max);
  std::vector<long double> geno_exp(static_cast<size_t>(np + 1) * pairs_max);

  // Written in pieces: the whole text can be far larger than the tables.
  AtomicFile file(an.base_name + ".x2");
  ReportText out;
  auto flush = [&] {
    file.write(out.str());
    out.clear();
  };
  out.line(" Observed and expected genotype frequencies ");
  for (int l = 1; l <= ds.nl; ++l) {
    const int k = ix.alleles_at_locus(l);
    const size_t pairs = static_cast<size_t>(k) * (k + 1) / 2;
    std::fill(geno_obs.begin(), geno_obs.end(), 0);
    std::fill(geno_exp.begin(), geno_exp.end(), 0.0L);

    count_genotypes(ds, ix, l, geno_obs.data());
    expected_genotypes(ct, np, l, geno_exp.data());

    auto write_table = [&](const char* title, auto&& write_cell) {
      out.eol();
      out.cell(title + ds.locus_names[l]).eol();
      for (int x = 0; x < k; ++x) {
        for (int y = x; y < k; ++y) {
          out.cell(genotype_label(ix.allele[ix.first[l] + x], ix.allele[ix.first[l] + y]));
          const size_t pair = pair_index(x, y, k);
          for (int s = 1; s <= np; ++s) write_cell(s * pairs + pair);
          out.eol();
        }
        flush();
      }
      flush();
    };
    write_table(" Observed for locus : ", [&](size_t cell) { out.integer_cell(geno_obs[cell], 3); });
    write_table(" Expected for locus : ", [&](size_t cell) { out.fixed_cell(geno_exp[cell], 6, 2); });
  }
  flush();
  file.commit();
}

}  // namespace torvi
