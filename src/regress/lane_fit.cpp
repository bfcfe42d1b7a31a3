#include "regress/lane_fit.h"

#include <cstdint>
#include <cstring>

#include "regress/single_arith.h"

// Each sum is formed in double precision, where one rounding to single gives
// the same value as the extended-precision route unless the double lies
// within a few units of its last place of a point halfway between two
// singles (or outside the range of normal singles); a row where any sum
// does is done again the extended-precision way. Products of two singles
// are exact in double, and the sums of squares add no terms of opposite
// sign, so a few units bound the difference of the two routes.

// The vector helpers below are all forced inline into fit_lanes, which is
// built for more than one instruction set: no vector ever crosses a call
// (where the two builds would pass it differently).
#pragma GCC diagnostic ignored "-Wpsabi"

namespace torvi::regress {

namespace {

typedef double Vd __attribute__((vector_size(8 * kLanes)));
typedef float Vf __attribute__((vector_size(4 * kLanes)));
typedef int64_t Vl __attribute__((vector_size(8 * kLanes)));

constexpr int64_t kLowBits = (int64_t{1} << 29) - 1;  // bits of a double below a single's last place
constexpr int64_t kHalfway = int64_t{1} << 28;
constexpr int64_t kMargin = 64;                          // units of a double's last place
constexpr int64_t kMinExponent = 1023 - 126, kMaxExponent = 1023 + 127;  // normal singles

[[gnu::always_inline]] inline Vd to_single(Vd s) { return __builtin_convertvector(__builtin_convertvector(s, Vf), Vd); }

// Lanes whose rounding to single may depend on the route.
[[gnu::always_inline]] inline Vl doubtful(Vd s) {
  const Vl bits = (Vl)s;  // the same 64 bits, read as integers
  const Vl offset = (bits & kLowBits) - kHalfway;
  const Vl near_half = (offset <= kMargin) & (offset >= -kMargin);
  const Vl exponent = (bits >> 52) & 0x7ff;
  const Vl nonzero = (bits & INT64_MAX) != 0;
  return near_half | (((exponent < kMinExponent) | (exponent > kMaxExponent)) & nonzero);
}

[[gnu::always_inline]] inline bool any(Vl v) {
  int64_t acc = 0;
  for (int l = 0; l < kLanes; ++l) acc |= v[l];
  return acc != 0;
}

[[gnu::always_inline]] inline Vd load_row(const float* y, int64_t r) {
  Vf v;
  std::memcpy(&v, y + r * kLanes, sizeof v);
  return __builtin_convertvector(v, Vd);
}

// b = X'y for every lane. (Inlined, so that it is built for the caller's
// instruction set.)
[[gnu::always_inline]] inline void cross_products_lanes(const Model& model, const float* y, Vd* b) {
  const int m = model.m;
  for (int j = 0; j < m; ++j) b[j] = Vd{};
  Vd next[kMaxExplanatory];
  for (int64_t r = 0; r < model.n; ++r) {
    const Vd yv = load_row(y, r);
    const float* xr = &model.x[static_cast<size_t>(r) * m];
    Vl doubt{};
    for (int j = 0; j < m; ++j) {
      const Vd s = b[j] + static_cast<double>(xr[j]) * yv;
      doubt |= doubtful(s);
      next[j] = to_single(s);
    }
    if (any(doubt))
      for (int l = 0; l < kLanes; ++l)
        for (int j = 0; j < m; ++j)
          next[j][l] = add_product(static_cast<float>(b[j][l]), xr[j], y[r * kLanes + l]);
    for (int j = 0; j < m; ++j) b[j] = next[j];
  }
}

// Residual sums of the nested models; beta[k][j] is coefficient j of the
// model with the first k + 1 variables.
[[gnu::always_inline]] inline void residual_sums_lanes(const Model& model, const float* y, const Vd (*beta)[kMaxExplanatory], Vd* rss) {
  const int m = model.m;
  for (int k = 0; k < m; ++k) rss[k] = Vd{};
  Vd next[kMaxExplanatory];
  for (int64_t r = 0; r < model.n; ++r) {
    const Vd yv = load_row(y, r);
    const float* xr = &model.x[static_cast<size_t>(r) * m];
    Vl doubt{};
    for (int k = 0; k < m; ++k) {
      Vd fitted = to_single(beta[k][0] * static_cast<double>(xr[0]));  // exact product, one rounding
      for (int j = 1; j <= k; ++j) {
        const Vd s = fitted + beta[k][j] * static_cast<double>(xr[j]);
        doubt |= doubtful(s);
        fitted = to_single(s);
      }
      const Vd e = yv - fitted;
      const Vd s = rss[k] + e * e;
      doubt |= doubtful(s);
      next[k] = to_single(s);
    }
    if (any(doubt))
      for (int l = 0; l < kLanes; ++l)
        for (int k = 0; k < m; ++k) {
          float fitted = 0;
          for (int j = 0; j <= k; ++j) fitted = add_product(fitted, static_cast<float>(beta[k][j][l]), xr[j]);
          next[k][l] = add_square_diff(static_cast<float>(rss[k][l]), y[r * kLanes + l], fitted);
        }
    for (int k = 0; k < m; ++k) rss[k] = next[k];
  }
}

}  // namespace

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void fit_lanes(const Model& model, const FitCache& cache, const float* y, LaneResult* out) {
  const int m = model.m;
  Vd b[kMaxExplanatory];
  cross_products_lanes(model, y, b);

  Vd beta[kMaxExplanatory][kMaxExplanatory];
  for (int l = 0; l < kLanes; ++l) {
    float bl[kMaxExplanatory], beta_k[kMaxExplanatory];
    for (int j = 0; j < m; ++j) bl[j] = static_cast<float>(b[j][l]);
    for (int k = 1; k <= m; ++k) {
      nested_beta(cache, k, bl, beta_k);
      for (int j = 0; j < k; ++j) beta[k - 1][j][l] = beta_k[j];
    }
  }

  Vd rss[kMaxExplanatory];
  residual_sums_lanes(model, y, beta, rss);

  for (int l = 0; l < kLanes; ++l) {
    float rss_l[kMaxExplanatory];
    for (int k = 0; k < m; ++k) rss_l[k] = static_cast<float>(rss[k][l]);
    LaneResult& o = out[l];
    sequential_ss(cache.sst, rss_l, m, o.ss);
    o.rss = rss_l[m - 1];
    for (int j = 0; j < m; ++j) o.beta[j] = static_cast<float>(beta[m - 1][j][l]);
  }
}

}  // namespace torvi::regress
