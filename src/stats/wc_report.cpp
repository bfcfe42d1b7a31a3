#include "stats/wc_report.h"

#include <cmath>

#include "report/report_text.h"
#include "stats/tolerances.h"

namespace torvi {

namespace {

// An estimate prints only above -1; NA markers and anything at or below -1 do not.
std::string estimate(long double v) { return v > -1 ? fixed(v, 6, 3) : kNA6; }

// Inbreeding-corrected relatedness -2 Σb / Σc, printed as computed.
std::string corrected_relatedness(const WcSums& s) {
  return std::fabs(s.c) <= kNegligible ? kNA6 : fixed(-2 * s.b / s.c, 6, 3);
}

// F, theta (which follows F's test), f and relatedness cells.
void estimate_cells(ReportText& out, long double F, long double theta, long double f, long double rel) {
  const bool has_F = F > -1;
  out.cell(has_F ? fixed(F, 6, 3) : kNA6).cell(has_F ? fixed(theta, 6, 3) : kNA6);
  out.cell(estimate(f)).cell(estimate(rel));
}

void component_cells(ReportText& out, const WcSums& s) {
  out.cell(fixed(s.a, 6, 3)).cell(fixed(s.b, 6, 3)).cell(fixed(s.c, 6, 3));
}

const char* const kColumns = "\t  Capf\t Theta\tSmallf\t Relat\tRelatc\t Sig_a\t Sig_b\t Sig_w";

}  // namespace

void wc_report(RunContext& ctx, Analysis& an) {
  const WcState& wc = an.wc;
  const CountTables& ct = an.ct;
  const AlleleIndex& ix = *an.alleles;
  ReportText out;
  out.line().line(kStars48);
  for (const char* text : {"Weir & Cockerham (1984) estimation of Fit (CapF), Fst (theta) and Fis (smallF).",
                           "relat is Relatedness estimated following Queller & Goodnight (1989)",
                           "relatc is relatedness inbreeding corrected following Pamilo (1984, 1985)",
                           "sig_a, sig_b and sig_w are the component of variance",
                           "among samples, among individuals within samples and within individuals respectively."})
    out.cell(text).eol();
  out.line();

  for (int l = 1; l <= an.ds.nl; ++l) {
    const WcSums& s = wc.locus_sums[l];
    if (wc.samples_at_locus[l] <= 1 || wc.nbar[l] == 0) continue;
    if (!(std::fabs(s.abc) > kNegligible || std::fabs(s.bc) > kNegligible)) continue;
    out.line().cell(" For locus : " + an.ds.locus_names[l]).eol();
    out << "\tAllele" << kColumns;
    out.eol();
    const long double* total = ct.total_row(l);
    for (int j = 0; j < ix.alleles_at_locus(l); ++j) {
      if (!(total[j] > 0)) continue;
      const size_t slot = static_cast<size_t>(ix.first[l]) + j;
      out.cell(integer(ix.allele[slot], 5));
      estimate_cells(out, wc.wc_F_allele[slot], wc.wc_theta_allele[slot], wc.wc_f_allele[slot],
                     wc.wc_rel_allele[slot]);
      out.eol();
    }
    out.cell("  All");
    estimate_cells(out, wc.wc_F_locus[l], wc.wc_theta_locus[l], wc.wc_f_locus[l], wc.wc_rel_locus[l]);
    out.cell(corrected_relatedness(s));
    component_cells(out, s);
    out.eol();
  }

  out.line().line(kStars48).line();
  out << "\t\t Over all loci";
  out.eol();
  out << '\t' << kColumns;
  out.eol();
  out << '\t';
  estimate_cells(out, wc.wc_F, wc.wc_theta, wc.wc_f, wc.wc_rel);
  out.cell(corrected_relatedness(wc.totals));
  component_cells(out, wc.totals);
  out.eol();
  out.append_to(ctx.result_name);
}

}  // namespace torvi
