#include "stats/rst_report.h"

#include <cmath>
#include <vector>

#include "report/report_text.h"
#include "stats/tolerances.h"

namespace torvi {

namespace {

// Analysis of variance of allele sizes at one locus (raw or standardised).
struct SizeComponents {
  long double siga = 0, sigb = 0, sigw = 0;
  long double sum() const { return siga + sigb + sigw; }
};

// Sums over individuals of one locus for one kind of size.
struct SizeSums {
  long double W = 0, P = 0, B = 0, T = 0;
  void add_individual(long double x, long double y) {
    W += x * x + y * y;
    P += (x + y) * (x + y);
  }
};

SizeComponents components(const SizeSums& s, long double N, long double K, int r) {
  SizeComponents c;
  c.sigw = (s.W - s.P / 2) / N;
  c.sigb = (s.P / 2 - s.B) / (2 * (N - r)) - c.sigw / 2;
  c.siga = (s.B - s.T * s.T / (2 * N) - (r - 1) * (2 * c.sigb + c.sigw)) / (2 * N - 2 * K / N);
  return c;
}

long double rst_of(const SizeComponents& c) { return c.siga / (c.siga + c.sigb + c.sigw); }

}  // namespace

void rst_report(RunContext& ctx, Analysis& an) {
  const DataSet& ds = an.ds;
  const CountTables& ct = an.ct;
  const int base = ds.coding_base;

  ReportText out;
  out.line().line(kStars48).line();
  out.cell("Rst Over all samples estimated following Rousset (1996) and Goodman (1997)").eol().line();
  out << "\t\t   Rst\t  siga\t  sigb\t  sigw\t amean\t astdev";
  out.eol();

  // Per-sample size totals of the current locus, raw and standardised.
  std::vector<long double> Ts(ds.np + 1), Tz(ds.np + 1);
  SizeComponents raw_total, z_total;
  long double rst_sum = 0;
  int counted = 0;

  for (int l = 1; l <= ds.nl; ++l) {
    long double S = 0, Q = 0, G = 0;
    for (int i = 1; i <= ds.ni; ++i) {
      if (const int g = ds.geno(l, i)) {
        const long double x = g / base, y = g % base;
        S += x + y;
        Q += x * x + y * y;
        G += 2;
      }
    }
    // No typed individual, or no size variation: the locus is left out.
    if (G == 0) continue;
    const long double amean = S / G;
    const long double var = Q / G - amean * amean;
    const long double astdev = var > 0 ? std::sqrt(var) : 0.0L;
    if (astdev <= kNegligible) continue;

    long double N = 0, K = 0;
    for (int s = 1; s <= ds.np; ++s) {
      const long double n = ct.typed(s, l);
      N += n;
      K += n * n;
    }
    const int r = an.wc.samples_at_locus[l];
    // One typed sample, or one individual per sample, leaves no degrees of
    // freedom for the among-samples or within-samples component.
    if (N - r <= 0 || 2 * N - 2 * K / N <= 0) continue;

    // Individuals are taken by their sample, in stored order.
    SizeSums raw, z;
    std::fill(Ts.begin(), Ts.end(), 0.0L);
    std::fill(Tz.begin(), Tz.end(), 0.0L);
    for (int i = 1; i <= ds.ni; ++i) {
      const int g = ds.geno(l, i);
      if (g == 0) continue;
      const long double x = g / base, y = g % base;
      const long double zx = (x - amean) / astdev, zy = (y - amean) / astdev;
      raw.add_individual(x, y);
      z.add_individual(zx, zy);
      Ts[ds.sample_of[i]] += x + y;
      Tz[ds.sample_of[i]] += zx + zy;
    }
    for (int s = 1; s <= ds.np; ++s) {
      const int32_t n = ct.typed(s, l);
      if (n <= 0) continue;
      raw.B += Ts[s] * Ts[s] / (2 * static_cast<long double>(n));
      raw.T += Ts[s];
      z.B += Tz[s] * Tz[s] / (2 * static_cast<long double>(n));
      z.T += Tz[s];
    }
    const SizeComponents rc = components(raw, N, K, r);
    const SizeComponents zc = components(z, N, K, r);
    ++counted;
    const bool has_rst = rc.sum() > kNegligible;
    if (has_rst) rst_sum += rst_of(rc);
    raw_total.siga += rc.siga;
    raw_total.sigb += rc.sigb;
    raw_total.sigw += rc.sigw;
    z_total.siga += zc.siga;
    z_total.sigb += zc.sigb;
    z_total.sigw += zc.sigw;

    out.cell(ds.locus_names[l]).cell(has_rst ? fixed(rst_of(rc), 6, 3) : kNA6);
    out.cell(fixed(rc.siga, 6, 1)).cell(fixed(rc.sigb, 6, 1)).cell(fixed(rc.sigw, 6, 1));
    out.cell(fixed(amean, 6, 2)).cell(fixed(astdev, 7, 4)).eol();
  }

  out.line();
  out << "\t  Rst over loci\t  Weighted\t   Goodman\tUnweighted";
  out.eol();
  out << "\t           Rst:";
  if (counted == 0) {
    for (int k = 0; k < 3; ++k) out.cell(right("NA", 10));
  } else {
    out.cell(fixed(rst_of(raw_total), 10, 4)).cell(fixed(rst_of(z_total), 10, 4));
    out.cell(fixed(rst_sum / counted, 10, 4));
  }
  out.eol();
  out.append_to(ctx.result_name);
}

}  // namespace torvi
