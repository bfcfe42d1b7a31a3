#include "stats/locus_report.h"

#include <string>

#include "report/na_cell.h"
#include "report/report_text.h"
#include "stats/nei_statistics.h"

namespace torvi {

namespace {

void set_default_sample_labels(DataSet& ds) {
  ds.sample_names.resize(static_cast<size_t>(ds.np) + 1);
  for (int s = 1; s <= ds.np; ++s) ds.sample_names[s] = ("pop" + std::to_string(s)).substr(0, 6);
}

// Left open: whatever is written next ends it.
void write_column_line(const DataSet& ds, ReportText& out) {
  out << "      " << col_sep;
  for (int s = 1; s <= ds.np; ++s) out.cell(right(ds.sample_names[s], 6));
  out.cell(" All_W").cell("All_UW");
}

void write_allele_frequencies(const Analysis& an, int l, ReportText& out) {
  const DataSet& ds = an.ds;
  const CountTables& ct = an.ct;
  const AlleleIndex& ix = *ct.index;
  out.eol();
  out.cell("    Locus: " + ds.locus_names[l]).eol();
  out.cell("     N");
  long double typed_total = 0.0L;
  for (int s = 1; s <= ds.np; ++s) {
    out.cell(integer(ct.typed(s, l), 6));
    typed_total += ct.typed(s, l);
  }
  out.eol();

  const long double* totals = ct.total_row(l);
  for (int k = 0; k < ix.alleles_at_locus(l); ++k) {
    if (totals[k] <= 0.0L) continue;
    out.cell("p: " + integer(ix.allele[ix.first[l] + k], 3));
    long double sum_p = 0.0L;
    int typed_samples = 0;
    for (int s = 1; s <= ds.np; ++s) {
      const int32_t n = ct.typed(s, l);
      if (n == 0) {
        out.cell(kNA6);
        continue;
      }
      const long double p = ct.allele_row(s, l)[k] / (2.0L * n);
      out.cell(fixed(p, 6, 3));
      sum_p += p;
      ++typed_samples;
    }
    out.cell(fixed(totals[k] / (2.0L * typed_total), 6, 3));
    if (typed_samples == 0)
      out.cell(kNA6);
    else
      out.cell(fixed(sum_p / typed_samples, 6, 3));
    out.eol();
  }
  out << std::string(static_cast<size_t>(ds.np) + 3, col_sep);
  out.eol();
}

// Ho to Fis. A locus in a single sample has no primed values and no Fst; the
// overall line keeps its Fst, which needs no count of samples.
void write_nei_values(long double ho, long double hs, long double ht, const NeiDerived& d, bool fst_needs_samples,
                      ReportText& out) {
  for (long double v : {ho, hs, ht, d.dst}) out.cell(fixed(v, 6, 3));
  out.cell(fixed_or_na(d.primed, d.dst_prime));
  out.cell(fixed_or_na(d.primed, d.ht_prime));
  out.cell(fixed_or_na(d.primed || !fst_needs_samples, d.fst));
  out.cell(fixed_or_na(d.primed, d.fst_prime));
  out.cell(fixed(d.fis, 6, 3));
}

// Loci whose diversities cannot be formed print NA and stay out of the means.
void write_nei_table(const NeiTable& t, const DataSet& ds, ReportText& out) {
  out.eol();
  out.line(kStars48);
  out.cell("Nei's estimation of heterozygosity ").eol();
  out.eol();
  out.cell("LocName");
  for (const char* h : {"    Ho", "    Hs", "    Ht", "   Dst", "  Dst'", "   Ht'", "   Fst", "  Fst'", "   Fis"})
    out.cell(h);
  out.eol();
  for (int l = 1; l <= ds.nl; ++l) {
    const NeiLine& x = t.loci[l];
    out.cell(ds.locus_names[l]);
    if (!x.h.diversities) {
      out.cell(fixed_or_na(x.h.samples > 0, x.h.ho));
      for (int i = 0; i < 8; ++i) out.cell(kNA6);
    } else {
      write_nei_values(x.h.ho, x.h.hs, x.h.ht, x.d, true, out);
    }
    out.eol();
  }
  out.eol();
  out.cell("Overall");
  if (!t.overall)
    for (int i = 0; i < 9; ++i) out.cell(kNA6);
  else
    write_nei_values(t.overall->h.ho, t.overall->h.hs, t.overall->h.ht, t.overall->d, false, out);
  out.eol();
}

}  // namespace

void locus_report(RunContext& ctx, Analysis& an) {
  if (!ctx.options.label_file_checked) set_default_sample_labels(an.ds);

  ReportText out;
  write_column_line(an.ds, out);
  if (ctx.options.CB_allfreq)
    for (int l = 1; l <= an.ds.nl; ++l) write_allele_frequencies(an, l, out);
  out.append_to(ctx.result_name);
}

void nei_report(const RunContext& ctx, const Analysis& an) {
  if (an.ds.np == 1 || !ctx.options.CB_nei) return;
  ReportText nei;
  write_nei_table(nei_table(an.ct, an.ds.nl), an.ds, nei);
  nei.append_to(ctx.result_name);
}

}  // namespace torvi
