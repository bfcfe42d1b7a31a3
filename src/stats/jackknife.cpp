#include "stats/jackknife.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/limits.h"

namespace torvi {

namespace {

// An allele whose frequency without a sample falls outside these bounds is
// left out of the pseudo-values.
constexpr long double kRareFrequency = 0.00001L, kCommonFrequency = 0.99999L;
// Below this a denominator of the relatedness, or a variance of f or of
// the relatedness, counts as 0.
constexpr long double kJackknifeZero = 0.00001L;

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

void estimate_lines(ReportText& out, const char* label, const Jackknifed& j) {
  out.cell(label);
  for (long double v : j.est) out.cell(fixed(v, 6, 3));
  out.cell(" Means").eol();
  out.cell("      ");
  for (long double v : j.se) out.cell(fixed(v, 6, 3));
  out.cell(" Std. Err.").eol();
}

// S1 = sum of n over the samples typed at locus l.
long double typed_sum(const WcState& wc, int l) { return wc.samples_at_locus[l] * wc.nbar[l]; }

// Leaving one sample out must leave two samples and a mean size above 1.
bool samples_can_be_left_out(const Analysis& an, int l, int first, int last) {
  const int r = an.wc.samples_at_locus[l];
  if (r < 3) return false;
  const long double S1 = typed_sum(an.wc, l);
  for (int s = first; s <= last; ++s) {
    const int32_t n = an.ct.typed(s, l);
    if (n != 0 && (S1 - n) / (r - 1) <= 1) return false;
  }
  return true;
}

// The pseudo-values of locus l with each typed sample left out in turn.
struct LeftOut {
  Accumulator F, theta, f, R;
  bool has_R = true;
  WcSums last;  // the components with the last typed sample left out
};

// The component sums of locus l without sample s (n typed individuals),
// from the sums over samples of n, n p, n h and n p^2.
WcSums sums_without(const Analysis& an, int l, int s, long double n) {
  const WcState& wc = an.wc;
  const AlleleIndex& ix = *an.alleles;
  const int k = ix.alleles_at_locus(l);
  const size_t base = static_cast<size_t>(ix.first[l]);
  const long double S1 = typed_sum(wc, l);
  const long double S1p = S1 - n;
  const int rp = wc.samples_at_locus[l] - 1;
  const long double nbar = S1p / rp;
  const long double S2p = wc.S2[l] - n * n;
  const long double nc = (S1p - S2p / S1p) / (rp - 1);
  const long double* p = an.ct.allele_row(s, l);
  const long double* h = an.ct.het_row(s, l);
  WcSums sums;
  for (int j = 0; j < k; ++j) {
    const long double sum_np = wc.pbar[base + j] * S1, sum_nh = wc.hbar[base + j] * S1;
    const long double pm = (sum_np - n * p[j]) / S1p;
    if (!(kRareFrequency < pm && pm < kCommonFrequency)) continue;
    const long double s2 = (wc.Q[base + j] - n * p[j] * p[j] - S1p * pm * pm) / ((rp - 1) * nbar);
    const long double hm = (sum_nh - n * h[j]) / S1p;
    const long double q = pm * (1 - pm) - (static_cast<long double>(rp - 1) / rp) * s2;
    const long double a = (nbar / nc) * (s2 - (q - hm / 4) / (nbar - 1));
    const long double b = (nbar / (nbar - 1)) * (q - ((2 * nbar - 1) / (4 * nbar)) * hm);
    const long double c = hm / 2;
    sums += WcSums{a + b, a + b + c, a, b, b + c, c};
  }
  return sums;
}

LeftOut leave_samples_out(const Analysis& an, int l, int first, int last) {
  LeftOut out;
  for (int s = first; s <= last; ++s) {
    const int32_t n_s = an.ct.typed(s, l);
    if (n_s == 0) continue;
    const WcSums sums = sums_without(an, l, s, n_s);
    if (sums.abc != 0 && sums.bc != 0) {
      out.F.add(sums.ab / sums.abc);
      out.theta.add(sums.a / sums.abc);
      out.f.add(sums.b / sums.bc);
    }
    if (std::fabs(2 * sums.ab + sums.c) <= kJackknifeZero) {
      out.has_R = false;
    } else if (out.has_R) {
      out.R.add(2 * sums.a / (2 * sums.ab + sums.c));
    }
    out.last = sums;
  }
  return out;
}

// The jackknife over samples for locus l, when it can be formed.
std::optional<Jackknifed> jackknife_locus(const Analysis& an, int l, int first, int last) {
  if (!samples_can_be_left_out(an, l, first, last)) return std::nullopt;
  const LeftOut x = leave_samples_out(an, l, first, last);
  if (!(x.last.abc != 0 && x.last.bc != 0)) return std::nullopt;

  const WcState& wc = an.wc;
  const int r = wc.samples_at_locus[l], rp = r - 1;
  auto variance = [&](const Accumulator& a) { return a.squares - a.sum * a.sum / r; };
  auto small_to_zero = [](long double v) { return std::fabs(v) < kJackknifeZero ? 0.0L : v; };
  auto std_err = [&](long double v) { return root(rp * v / r); };
  auto jack = [&](long double est, const Accumulator& a) { return r * est - rp * a.sum / r; };
  Jackknifed j{{jack(wc.wc_F_locus[l], x.F), jack(wc.wc_theta_locus[l], x.theta), jack(wc.wc_f_locus[l], x.f),
                na_value},
               {std_err(variance(x.F)), std_err(variance(x.theta)), std_err(small_to_zero(variance(x.f))), na_value}};
  if (x.has_R) {
    j.est[3] = jack(wc.wc_rel_locus[l], x.R);
    j.se[3] = std_err(small_to_zero(variance(x.R)));
  }
  return j;
}

// The jackknife over the L loci in use, each left out in turn.
Jackknifed jackknife_loci(const WcState& wc, int nl, long double L) {
  const WcSums& T = wc.totals;
  Accumulator F, theta, f, R;
  for (int l = 1; l <= nl; ++l) {
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
  return {{jack(wc.wc_F, F), jack(wc.wc_theta, theta), jack(wc.wc_f, f), jack(wc.wc_rel, R)},
          {std_err(F), std_err(theta), std_err(f), std_err(R)}};
}

void write_locus_block(ReportText& out, const std::string& locus_name, const Jackknifed& j) {
  out.line().cell(" For locus : " + locus_name).eol();
  out << kHeader;
  out.eol();
  estimate_lines(out, " Total", j);
}

void write_samples_block(ReportText& out, const std::vector<LocusJackknife>& loci, const DataSet& ds) {
  out.line().line(kStars48).cell("Jackknifing over populations.").eol();
  for (const LocusJackknife& x : loci) write_locus_block(out, ds.locus_names[x.locus], x.values);
}

}  // namespace

std::vector<LocusJackknife> jackknife_over_samples(const Analysis& an, int first, int last) {
  std::vector<LocusJackknife> loci;
  for (int l = 1; l <= an.ds.nl; ++l)
    if (std::optional<Jackknifed> j = jackknife_locus(an, l, first, last)) loci.push_back({l, *j});
  return loci;
}

void jackknife_samples(const Analysis& an, int first, int last, ReportText& out) {
  write_samples_block(out, jackknife_over_samples(an, first, last), an.ds);
}

JackknifeResult compute_jackknife(const Analysis& an, int first, int last) {
  JackknifeResult r;
  if (last >= kFewestForJackknife) r.over_samples = jackknife_over_samples(an, first, last);
  if (an.ds.nl >= kFewestForJackknife) r.over_loci = jackknife_loci(an.wc, an.ds.nl, an.ds.nl_used);
  return r;
}

void write_jackknife(const JackknifeResult& r, const DataSet& ds, const std::string& result_name) {
  ReportText out;
  out.line().line(kStars48);
  if (r.over_samples)
    write_samples_block(out, *r.over_samples, ds);
  else
    out.cell("Could not perform Jackknifing over samples with only " + integer(ds.np) + " samples. exiting.").eol();
  out.line().line(kStars48);
  if (r.over_loci) {
    out.line().cell(" Jackknifing over loci.").eol().line();
    out << kHeader;
    out.eol();
    estimate_lines(out, " total", *r.over_loci);
  } else {
    out.cell("Could not perform Jackknifing over loci with only " + integer(ds.nl) + " loci. exiting.").eol();
  }
  out.append_to(result_name);
}

void jackknife_report(RunContext& ctx, Analysis& an, int first, int last) {
  write_jackknife(compute_jackknife(an, first, last), an.ds, ctx.result_name);
}

}  // namespace torvi
