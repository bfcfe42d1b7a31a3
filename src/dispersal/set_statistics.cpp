#include "dispersal/set_statistics.h"

#include <array>
#include <cmath>

#include "dispersal/sex_labelled_file.h"

namespace torvi::dispersal {

namespace {

using Real = long double;

constexpr Real kLowestMean = 0.001L;   // alleles whose mean frequency is not
constexpr Real kHighestMean = 0.999L;  // strictly inside these are left out
constexpr Real kNegligible = 1e-10L;   // components below this count as 0

// Sums over loci and alleles.
struct Sums {
  Real A = 0, B = 0, C = 0, T = 0, W = 0;
};

// The shape of one locus over the samples.
struct LocusShape {
  int r = 0;      // samples with a typed individual
  float nc = 0;   // sample size corrected for its variance
  float nbar = 0; // mean sample size
};

// Each expression is evaluated in extended precision and rounded to single
// precision where the estimator stores it in a single-precision value.
float single(Real x) { return static_cast<float>(x); }

Real negligible_to_zero(float v) { return std::fabs(static_cast<Real>(v)) < kNegligible ? 0 : v; }

// Adds the components of one allele with mean sample size nbar over r
// samples, given its three sums over the samples.
void add_allele(const LocusShape& k, float sum_np, float sum_npp, float sum_nh, Sums& sums) {
  const Real r = k.r, nbar = k.nbar;
  const float pbar = single(sum_np / r / nbar);
  const float s2 = single((sum_npp - ((static_cast<Real>(pbar) * pbar) * r) * nbar) / (r - 1) / nbar);
  const float hbar = single(sum_nh / r / nbar);
  if (!(pbar > kLowestMean && pbar < kHighestMean)) return;
  const float x = single(static_cast<Real>(pbar) * (1 - static_cast<Real>(pbar)) - (r - 1) / r * s2);
  const Real a = negligible_to_zero(single(nbar / k.nc * (s2 - (x - static_cast<Real>(hbar) / 4) / (nbar - 1))));
  const Real b = negligible_to_zero(single(nbar / (nbar - 1) * (x - (2 * nbar - 1) / (4 * nbar) * hbar)));
  const Real c = negligible_to_zero(single(static_cast<Real>(hbar) / 2));
  sums.A += a;
  sums.B += b;
  sums.C += c;
  sums.T += (a + b) + c;
  sums.W += b + c;
}

// r, nc and nbar of locus l; r = 0 when the locus stays out of the sums.
LocusShape locus_shape(const CountTables& t, int32_t l) {
  const int32_t* typed = &t.typed[static_cast<size_t>(l) * static_cast<size_t>(t.np)];
  int64_t s1 = 0, s2 = 0;
  LocusShape k;
  for (int32_t s = 0; s < t.np; ++s) {
    s1 += typed[s];
    s2 += static_cast<int64_t>(typed[s]) * typed[s];
    if (typed[s] > 0) ++k.r;
  }
  if (k.r <= 1 || s1 == 0) return {};
  k.nc = single((static_cast<Real>(s1) - static_cast<Real>(s2) / static_cast<Real>(s1)) / (k.r - 1));
  k.nbar = single(static_cast<Real>(s1) / k.r);
  // One typed individual in each typed sample: a and b would divide by 0.
  if (k.nbar == 1.0f) return {};
  return k;
}

// Where the terms of one typed sample are found.
struct SampleRow {
  int32_t s = 0, n = 0;
  const Real *np = nullptr, *npp = nullptr, *nh = nullptr;  // null: computed
};

// Adds 0 to the single-precision sums when the count is 0: leaves them as they are.
void add_sample(const SampleRow& row, int32_t c, int32_t h, float& sum_np, float& sum_npp, float& sum_nh) {
  if (c != 0) {
    sum_np = single(sum_np + (row.np ? row.np[c] : SampleTerms::np(row.n, c)));
    sum_npp = single(sum_npp + (row.npp ? row.npp[c] : SampleTerms::npp(row.n, c)));
  }
  if (h != 0) sum_nh = single(sum_nh + (row.nh ? row.nh[h] : SampleTerms::nh(row.n, h)));
}

void add_locus(const CountTables& t, const SampleTerms& terms, int32_t l, int32_t first, int32_t last, Sums& sums) {
  const LocusShape k = locus_shape(t, l);
  if (k.r == 0) return;
  const int32_t* typed = &t.typed[static_cast<size_t>(l) * static_cast<size_t>(t.np)];
  std::array<SampleRow, kMaxSamples> rows;
  int32_t typed_samples = 0;
  for (int32_t s = 0; s < t.np; ++s)
    if (const int32_t n = typed[s]; n > 0) rows[static_cast<size_t>(typed_samples++)] = {s, n, terms.np_row(n), terms.npp_row(n), terms.nh_row(n)};
  for (int32_t u = first; u < last; ++u) {
    const int32_t* copies = &t.copies[static_cast<size_t>(u) * static_cast<size_t>(t.np)];
    const int32_t* het = &t.het[static_cast<size_t>(u) * static_cast<size_t>(t.np)];
    // Partial sums are single precision, rounded after each addition, over
    // the samples in order (untyped samples add 0).
    float sum_np = 0, sum_npp = 0, sum_nh = 0;
    for (int32_t i = 0; i < typed_samples; ++i) {
      const SampleRow& row = rows[static_cast<size_t>(i)];
      add_sample(row, copies[row.s], het[row.s], sum_np, sum_npp, sum_nh);
    }
    add_allele(k, sum_np, sum_npp, sum_nh, sums);
  }
}

}  // namespace

SetStatistics set_statistics(const CountTables& t, const std::vector<int32_t>& locus_first, const SampleTerms& terms) {
  Sums sums;
  for (int32_t l = 0; l < t.nl; ++l) add_locus(t, terms, l, locus_first[static_cast<size_t>(l)], locus_first[static_cast<size_t>(l) + 1], sums);
  SetStatistics out;
  out.ho = ratio(sums.C, t.nl);
  out.hs = ratio(sums.W, t.nl);
  out.fst = ratio(sums.A, sums.T);
  out.fis = ratio(sums.B, sums.W);
  out.rel = ratio(2 * sums.A, (sums.T + sums.A) + sums.B);
  return out;
}

}  // namespace torvi::dispersal
