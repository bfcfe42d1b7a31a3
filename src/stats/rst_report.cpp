#include "stats/rst_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "report/report_text.h"
#include "stats/tolerances.h"

namespace torvi {

namespace {

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

// Mean and standard deviation of the allele sizes typed at locus l; false
// when none is typed.
bool size_moments(const DataSet& ds, int l, long double& amean, long double& astdev) {
  const int base = ds.coding_base;
  long double S = 0, Q = 0, G = 0;
  for (int i = 1; i <= ds.ni; ++i) {
    if (const int g = ds.geno(l, i)) {
      const long double x = g / base, y = g % base;
      S += x + y;
      Q += x * x + y * y;
      G += 2;
    }
  }
  if (G == 0) return false;
  amean = S / G;
  const long double var = Q / G - amean * amean;
  astdev = var > 0 ? std::sqrt(var) : 0.0L;
  return true;
}

// The raw and standardised components of locus l, individuals taken by
// their sample in stored order. Ts and Tz: per-sample scratch (np + 1).
void locus_components(const DataSet& ds, const CountTables& ct, RstLocus& locus, long double N, long double K,
                      int r, std::vector<long double>& Ts, std::vector<long double>& Tz) {
  const int base = ds.coding_base, l = locus.l;
  SizeSums raw, z;
  std::fill(Ts.begin(), Ts.end(), 0.0L);
  std::fill(Tz.begin(), Tz.end(), 0.0L);
  for (int i = 1; i <= ds.ni; ++i) {
    const int g = ds.geno(l, i);
    if (g == 0) continue;
    const long double x = g / base, y = g % base;
    const long double zx = (x - locus.amean) / locus.astdev, zy = (y - locus.amean) / locus.astdev;
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
  locus.raw = components(raw, N, K, r);
  locus.z = components(z, N, K, r);
}

void add_to(SizeComponents& total, const SizeComponents& c) {
  total.siga += c.siga;
  total.sigb += c.sigb;
  total.sigw += c.sigw;
}

}  // namespace

RstResult compute_rst(const DataSet& ds, const CountTables& ct, const std::vector<int32_t>& samples_at_locus) {
  RstResult result;
  // Per-sample size totals of the current locus, raw and standardised.
  std::vector<long double> Ts(ds.np + 1), Tz(ds.np + 1);
  for (int l = 1; l <= ds.nl; ++l) {
    RstLocus locus;
    locus.l = l;
    // No typed individual, or no size variation: the locus is left out.
    if (!size_moments(ds, l, locus.amean, locus.astdev) || locus.astdev <= kNegligible) continue;

    long double N = 0, K = 0;
    for (int s = 1; s <= ds.np; ++s) {
      const long double n = ct.typed(s, l);
      N += n;
      K += n * n;
    }
    const int r = samples_at_locus[l];
    // One typed sample, or one individual per sample, leaves no degrees of
    // freedom for the among-samples or within-samples component.
    if (N - r <= 0 || 2 * N - 2 * K / N <= 0) continue;

    locus_components(ds, ct, locus, N, K, r, Ts, Tz);
    locus.has_rst = locus.raw.sum() > kNegligible;
    if (locus.has_rst) result.rst_sum += rst_of(locus.raw);
    add_to(result.raw_total, locus.raw);
    add_to(result.z_total, locus.z);
    result.loci.push_back(locus);
  }
  return result;
}

void write_rst(const RstResult& result, const DataSet& ds, ReportText& out) {
  out.line().line(kStars48).line();
  out.cell("Rst Over all samples estimated following Rousset (1996) and Goodman (1997)").eol().line();
  out << "\t\t   Rst\t  siga\t  sigb\t  sigw\t amean\t astdev";
  out.eol();
  for (const RstLocus& locus : result.loci) {
    const SizeComponents& rc = locus.raw;
    out.cell(ds.locus_names[locus.l]).cell(locus.has_rst ? fixed(rst_of(rc), 6, 3) : kNA6);
    out.cell(fixed(rc.siga, 6, 1)).cell(fixed(rc.sigb, 6, 1)).cell(fixed(rc.sigw, 6, 1));
    out.cell(fixed(locus.amean, 6, 2)).cell(fixed(locus.astdev, 7, 4)).eol();
  }

  out.line();
  out << "\t  Rst over loci\t  Weighted\t   Goodman\tUnweighted";
  out.eol();
  out << "\t           Rst:";
  if (result.loci.empty()) {
    for (int k = 0; k < 3; ++k) out.cell(right("NA", 10));
  } else {
    const auto counted = static_cast<long double>(result.loci.size());
    out.cell(fixed(rst_of(result.raw_total), 10, 4)).cell(fixed(rst_of(result.z_total), 10, 4));
    out.cell(fixed(result.rst_sum / counted, 10, 4));
  }
  out.eol();
}

void rst_report(RunContext& ctx, Analysis& an) {
  ReportText out;
  write_rst(compute_rst(an.ds, an.ct, an.wc.samples_at_locus), an.ds, out);
  out.append_to(ctx.result_name);
}

}  // namespace torvi
