#include "stats/nei_statistics.h"
#include "stats/tolerances.h"

namespace torvi {

namespace {

// A ratio whose denominator is kNegligibleRatio or less (negative included) counts as 0.
long double ratio(long double num, long double den) { return den > kNegligibleRatio ? num / den : 0.0L; }

}  // namespace

NeiLocus nei_locus(const CountTables& ct, int l) {
  NeiLocus r;
  r.samples = ct.np;
  long double inverse_sum = 0.0L;
  for (int s = 1; s <= ct.np; ++s) {
    const int32_t n = ct.typed(s, l);
    if (n < 1)
      --r.samples;
    else
      inverse_sum += 1.0L / n;
  }
  if (r.samples == 0) return r;
  const long double S = r.samples;
  const long double nh = S / inverse_sum;

  const int k = ct.index->alleles_at_locus(l);
  long double homozygous = 0.0L;
  for (int s = 1; s <= ct.np; ++s) {
    const int32_t n = ct.typed(s, l);
    if (n < 1) continue;
    const long double* copies = ct.allele_row(s, l);
    const long double* carriers = ct.het_row(s, l);
    for (int a = 0; a < k; ++a) homozygous += (copies[a] - carriers[a]) / 2.0L / n;
  }
  r.ho = 1.0L - homozygous / S;

  long double m2 = 0.0L;
  long double t2 = 0.0L;
  for (int a = 0; a < k; ++a) {
    long double sum_p2 = 0.0L;
    long double sum_p = 0.0L;
    for (int s = 1; s <= ct.np; ++s) {
      const int32_t n = ct.typed(s, l);
      if (n < 1) continue;
      const long double p = ct.allele_row(s, l)[a] / (2.0L * n);
      sum_p2 += p * p;
      sum_p += p;
    }
    m2 += sum_p2 / S;
    const long double mean_p = sum_p / S;
    t2 += mean_p * mean_p;
  }

  if (nh > 1.0L) {
    r.hs = nh / (nh - 1.0L) * (1.0L - m2 - r.ho / (2.0L * nh));
    r.ht = 1.0L - t2 + r.hs / (nh * S) - r.ho / (2.0L * nh * S);
    r.diversities = true;
  }
  return r;
}

NeiDerived nei_derived(long double ho, long double hs, long double ht, int samples) {
  NeiDerived d;
  d.dst = ht - hs;
  d.fst = ratio(d.dst, ht);
  d.fis = ratio(hs - ho, hs);
  if (samples >= 2) {
    const long double S = samples;
    d.dst_prime = S / (S - 1.0L) * d.dst;
    d.ht_prime = hs + d.dst_prime;
    d.fst_prime = ratio(d.dst_prime, d.ht_prime);
    d.primed = true;
  }
  return d;
}

NeiTable nei_table(const CountTables& ct, int nl) {
  NeiTable t;
  t.loci.resize(static_cast<size_t>(nl) + 1);
  long double sum_ho = 0.0L, sum_hs = 0.0L, sum_ht = 0.0L;
  int formed = 0;
  for (int l = 1; l <= nl; ++l) {
    NeiLine& line = t.loci[l];
    line.h = nei_locus(ct, l);
    if (!line.h.diversities) continue;
    line.d = nei_derived(line.h.ho, line.h.hs, line.h.ht, line.h.samples);
    sum_ho += line.h.ho;
    sum_hs += line.h.hs;
    sum_ht += line.h.ht;
    ++formed;
  }
  if (formed == 0) return t;
  NeiLine overall;
  overall.h = {t.loci[1].h.samples, sum_ho / formed, sum_hs / formed, sum_ht / formed, true};
  overall.d = nei_derived(overall.h.ho, overall.h.hs, overall.h.ht, overall.h.samples);
  t.overall = overall;
  return t;
}

}  // namespace torvi
