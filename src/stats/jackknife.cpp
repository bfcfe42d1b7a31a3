#include "stats/jackknife.h"

#include <algorithm>
#include <cmath>

#include "model/limits.h"

namespace torvi {

namespace {

// Sum and sum of squares of the pseudo-values of one statistic.
struct Accumulator {
  long double sum = 0, squares = 0;
  void add(long double x) {
    sum += x;
    squares += x * x;
  }
};

// A variance term that rounding leaves below 0 gives a standard error of 0.
long double root(long double x) { return x > 0 ? std::sqrt(x) : 0.0L; }

const char* const kHeader = "\t\t  Capf\t Theta\tSmallf\t Relat";

void estimate_lines(ReportText& out, const char* label, const long double (&est)[4], const long double (&se)[4]) {
  out.cell(label);
  for (long double v : est) out.cell(fixed(v, 6, 3));
  out.cell(" Means").eol();
  out.cell("      ");
  for (long double v : se) out.cell(fixed(v, 6, 3));
  out.cell(" Std. Err.").eol();
}

// The jackknife over samples for locus l, when it can be formed: appends the
// block and returns; otherwise appends nothing. P_u, H_u and S1 are sums.
void jackknife_locus(const Analysis& an, int l, int first, int last, ReportText& out) {
  const WcState& wc = an.wc;
  const CountTables& ct = an.ct;
  const AlleleIndex& ix = *an.alleles;
  const int r = wc.samples_at_locus[l];
  const long double S1 = wc.nbar[l], S2 = wc.S2[l];
  // Leaving one out must leave two samples and a mean size above 1.
  if (r < 3) return;
  for (int s = first; s <= last; ++s) {
    const int32_t n = ct.typed(s, l);
    if (n != 0 && (S1 - n) / (r - 1) <= 1) return;
  }

  const int k = ix.alleles_at_locus(l);
  const size_t base = static_cast<size_t>(ix.first[l]);
  Accumulator F, theta, f, R;
  bool has_R = true;
  WcSums sums;
  for (int s = first; s <= last; ++s) {
    const int32_t n_s = ct.typed(s, l);
    if (n_s == 0) continue;
    const long double n = n_s;
    const long double S1p = S1 - n;
    const int rp = r - 1;
    const long double nbar = S1p / rp;
    const long double S2p = S2 - n * n;
    const long double nc = (S1p - S2p / S1p) / (rp - 1);
    const long double* p = ct.allele_row(s, l);
    const long double* h = ct.het_row(s, l);
    sums = WcSums{};
    for (int j = 0; j < k; ++j) {
      const long double pm = (wc.pbar[base + j] - n * p[j]) / S1p;
      if (!(0.00001L < pm && pm < 0.99999L)) continue;
      const long double s2 = (wc.Q[base + j] - n * p[j] * p[j] - S1p * pm * pm) / ((rp - 1) * nbar);
      const long double hm = (wc.hbar[base + j] - n * h[j]) / S1p;
      const long double q = pm * (1 - pm) - (static_cast<long double>(rp - 1) / rp) * s2;
      const long double a = (nbar / nc) * (s2 - (q - hm / 4) / (nbar - 1));
      const long double b = (nbar / (nbar - 1)) * (q - ((2 * nbar - 1) / (4 * nbar)) * hm);
      const long double c = hm / 2;
      sums += WcSums{a + b, a + b + c, a, b, b + c, c};
    }
    if (sums.abc != 0 && sums.bc != 0) {
      F.add(sums.ab / sums.abc);
      theta.add(sums.a / sums.abc);
      f.add(sums.b / sums.bc);
    }
    if (std::fabs(2 * sums.ab + sums.c) <= 0.00001L) {
      has_R = false;
    } else if (has_R) {
      R.add(2 * sums.a / (2 * sums.ab + sums.c));
    }
  }
  if (!(sums.abc != 0 && sums.bc != 0)) return;

  const int rp = r - 1;
  auto variance = [&](const Accumulator& x) { return x.squares - x.sum * x.sum / r; };
  auto small_to_zero = [](long double v) { return std::fabs(v) < 0.00001L ? 0.0L : v; };
  auto std_err = [&](long double v) { return root(rp * v / r); };
  auto jack = [&](long double est, const Accumulator& x) { return r * est - rp * x.sum / r; };
  long double est[4] = {jack(wc.wc_F_locus[l], F), jack(wc.wc_theta_locus[l], theta), jack(wc.wc_f_locus[l], f),
                        na_value};
  long double se[4] = {std_err(variance(F)), std_err(variance(theta)), std_err(small_to_zero(variance(f))),
                       na_value};
  if (has_R) {
    est[3] = jack(wc.wc_rel_locus[l], R);
    se[3] = std_err(small_to_zero(variance(R)));
  }

  out.line().cell(" For locus : " + an.ds.locus_names[l]).eol();
  out << kHeader;
  out.eol();
  estimate_lines(out, " Total", est, se);
}

void jackknife_loci(const Analysis& an, ReportText& out) {
  const WcState& wc = an.wc;
  const WcSums& T = wc.totals;
  const long double L = an.ds.nl_used;
  Accumulator F, theta, f, R;
  for (int l = 1; l <= an.ds.nl; ++l) {
    const WcSums& s = wc.locus_sums[l];
    const long double D1 = T.abc - s.abc, D4 = T.bc - s.bc;
    if (D1 == 0 || D4 == 0) continue;
    F.add((T.ab - s.ab) / D1);
    theta.add((T.a - s.a) / D1);
    f.add((T.b - s.b) / D4);
    R.add(2 * (T.a - s.a) / ((T.c - s.c) + 2 * (T.ab - s.ab)));
  }
  auto std_err = [&](const Accumulator& x) { return root((L - 1) * (x.squares - x.sum * x.sum / L) / L); };
  auto jack = [&](long double est, const Accumulator& x) { return L * est - (L - 1) * x.sum / L; };
  const long double est[4] = {jack(wc.wc_F, F), jack(wc.wc_theta, theta), jack(wc.wc_f, f), jack(wc.wc_rel, R)};
  const long double se[4] = {std_err(F), std_err(theta), std_err(f), std_err(R)};

  out.line().cell(" Jackknifing over loci.").eol().line();
  out << kHeader;
  out.eol();
  estimate_lines(out, " total", est, se);
}

}  // namespace

void jackknife_samples(Analysis& an, int first, int last, ReportText& out) {
  out.line().line(kStars48).cell("Jackknifing over populations.").eol();
  WcState& wc = an.wc;
  const AlleleIndex& ix = *an.alleles;
  for (int l = 1; l <= an.ds.nl; ++l) {
    const long double S1 = wc.samples_at_locus[l] * wc.nbar[l];
    wc.nbar[l] = S1;
    for (int32_t slot = ix.first[l]; slot < ix.first[l + 1]; ++slot) {
      wc.pbar[slot] = wc.pbar[slot] * S1;
      wc.hbar[slot] = wc.hbar[slot] * S1;
    }
    jackknife_locus(an, l, first, last, out);
  }
}

void jackknife_report(RunContext& ctx, Analysis& an, int first, int last) {
  ReportText out;
  out.line().line(kStars48);
  if (last < 5)
    out.cell("Could not perform Jackknifing over samples with only " + integer(an.ds.np) + " samples. exiting.").eol();
  else
    jackknife_samples(an, first, last, out);
  out.line().line(kStars48);
  if (an.ds.nl >= 5)
    jackknife_loci(an, out);
  else
    out.cell("Could not perform Jackknifing over loci with only " + integer(an.ds.nl) + " loci. exiting.").eol();
  out.append_to(ctx.result_name);
}

}  // namespace torvi
