#include "stats/sample_report.h"

#include <string>
#include <utility>
#include <vector>

#include "report/na_cell.h"
#include "report/report_text.h"
#include "stats/allelic_richness.h"
#include "stats/fis_within.h"

namespace torvi {

namespace {

void begin_section(const std::string& title, ReportText& out) {
  out.eol();
  out.line(kStars48);
  out.eol();
  out.cell(title).eol();
}

// Gene diversity of sample s at locus l, corrected for sample size; needs n >= 2.
long double gene_diversity(const CountTables& ct, int s, int l) {
  const long double n = ct.typed(s, l);
  const long double* copies = ct.allele_row(s, l);
  const long double* carriers = ct.het_row(s, l);
  long double homozygous = 0.0L;
  long double sum_p2 = 0.0L;
  for (int k = 0; k < ct.index->alleles_at_locus(l); ++k) {
    homozygous += (copies[k] - carriers[k]) / 2.0L / n;
    const long double p = copies[k] / (2.0L * n);
    sum_p2 += p * p;
  }
  const long double ho = 1.0L - homozygous;
  return n / (n - 1.0L) * (1.0L - sum_p2 - ho / (2.0L * n));
}

int alleles_sampled(const CountTables& ct, int s, int l) {
  const long double* copies = ct.allele_row(s, l);
  int count = 0;
  for (int k = 0; k < ct.index->alleles_at_locus(l); ++k)
    if (copies[k] > 0.0L) ++count;
  return count;
}

void write_gene_diversity(const Analysis& an, ReportText& out) {
  begin_section("Gene diversity per locus and population : ", out);
  for (int l = 1; l <= an.ds.nl; ++l) {
    out.cell(an.ds.locus_names[l]);
    for (int s = 1; s <= an.ds.np; ++s) {
      if (an.ct.typed(s, l) < 2)
        out.cell(kNA6);
      else
        out.cell(fixed(gene_diversity(an.ct, s, l), 6, 3));
    }
    out.eol();
  }
}

void write_allele_numbers(const Analysis& an, ReportText& out) {
  begin_section("number of alleles sampled : ", out);
  for (int l = 1; l <= an.ds.nl; ++l) {
    out.cell(an.ds.locus_names[l]);
    for (int s = 1; s <= an.ds.np; ++s)
      out.cell(an.ct.typed(s, l) == 0 ? std::string(kNA6) : integer(alleles_sampled(an.ct, s, l), 6));
    out.cell(integer(an.ct.index->alleles_at_locus(l), 6));
    out.eol();
  }
}

void write_allelic_richness(const Analysis& an, ReportText& out) {
  begin_section("Allelic Richness per locus and population", out);
  const CountTables& ct = an.ct;
  if (ct.min_typed < 1) {
    out.cell("Cannot calculate allelic richness.").eol();
    out.cell("At least one locus in one sample has no genotyped individual.").eol();
    return;
  }
  out.cell("based on min. sample size of: " + integer(ct.min_typed, 4) + " diploid individuals.").eol();
  std::vector<long double> per_sample, over_samples;
  allelic_richness(ct, per_sample, over_samples);
  for (int l = 1; l <= an.ds.nl; ++l) {
    out.cell(an.ds.locus_names[l]);
    for (int s = 1; s <= an.ds.np; ++s) out.cell(fixed(per_sample[static_cast<size_t>(s) * (an.ds.nl + 1) + l], 6, 3));
    out.cell(fixed(over_samples[l], 6, 3));
    out.eol();
  }
}

void write_fis(const Analysis& an, ReportText& out) {
  begin_section("Fis Per population : ", out);
  for (int l = 1; l <= an.ds.nl; ++l) {
    out.cell(an.ds.locus_names[l]);
    for (int s = 1; s <= an.ds.np; ++s)
      out.cell(fixed_or_na(an.ct.typed(s, l) > 1 && is_value(an.fis(s, l)), an.fis(s, l)));
    out.eol();
  }
  out.eol();
  out.cell("All ");
  for (int s = 1; s <= an.ds.np; ++s) out.cell(fixed_or_na(is_value(an.fis(s, 0)), an.fis(s, 0)));
  out.eol();
}

}  // namespace

void sample_report(RunContext& ctx, Analysis& an) {
  an.fis_sample_locus.assign(static_cast<size_t>(an.ds.np + 1) * (an.ds.nl + 1), na_value);
  fis_within(an.ct, an.ct.het_allele_count, an.fis_sample_locus);

  const RunOptions& opt = ctx.options;
  using Section = void (*)(const Analysis&, ReportText&);
  for (auto [ticked, write] : {std::pair<bool, Section>{opt.CB_genediv, write_gene_diversity},
                               {opt.CB_nal, write_allele_numbers},
                               {opt.CB_Rar, write_allelic_richness},
                               {opt.CB_fis, write_fis}}) {
    if (!ticked) continue;
    ReportText out;
    write(an, out);
    out.append_to(ctx.result_name);
  }

}

}  // namespace torvi
