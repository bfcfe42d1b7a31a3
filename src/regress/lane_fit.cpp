#include "regress/lane_fit.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "regress/single_arith.h"

// Each sum is formed in double precision, where one rounding to single gives
// the same value as the extended-precision route unless the double lies
// within a few units of its last place of a point halfway between two
// singles, or outside the range of normal singles. Products of two singles
// are exact in double, and the sums of squares add no terms of opposite
// sign, so a few units bound the difference of the two routes. The rows are
// taken in blocks: a block where any sum is in doubt (or is exactly zero,
// which the range watch cannot tell from a tiny value) is done again the
// extended-precision way from the sums it started with.

// Every value is a single; the fits keep them in double precision and round
// each sum back to single.
//
// The vector helpers below are all forced inline into fit_lanes, which is
// built for more than one instruction set: no vector ever crosses a call
// (where the two builds would pass it differently).
#pragma GCC diagnostic ignored "-Wpsabi"

namespace torvi::regress {

namespace {

// Lanes are handled in groups of kWidth, the groups side by side so that
// the roundings of one group overlap with those of the other.
constexpr int kWidth = 4, kGroups = kLanes / kWidth;
typedef double Vd __attribute__((vector_size(8 * kWidth)));
typedef int64_t Vl __attribute__((vector_size(8 * kWidth)));
typedef uint64_t Vu __attribute__((vector_size(8 * kWidth)));
typedef int32_t Vi __attribute__((vector_size(4 * kLanes)));

constexpr int64_t kBlockRows = 64;
constexpr int64_t kLowBits = (int64_t{1} << 29) - 1;  // bits of a double below a single's last place
constexpr int64_t kHalfway = int64_t{1} << 28;
constexpr int64_t kMargin = 64;  // units of a double's last place
constexpr double kMinNormal = std::numeric_limits<float>::min();
constexpr double kMaxSafe = 0x1p127;         // well below the largest single
constexpr double kSplitter = 0x1p29 + 1;     // keeps 53 - 29 = 24 bits

#define TORVI_INLINE [[gnu::always_inline]] inline

// s rounded to the 24 bits of a single, kept in double (Veltkamp's split):
// the nearest such value, which is the single nearest to s whenever s is in
// the range of normal singles and not halfway between two (both watched).
TORVI_INLINE Vd to_single(Vd s) {
  const Vd c = s * kSplitter;
  return c - (c - s);
}

TORVI_INLINE Vd load_row(const double* y, int64_t r, int g) {
  Vd v;
  std::memcpy(&v, y + r * kLanes + g * kWidth, sizeof v);
  return v;
}

TORVI_INLINE Vd broadcast(double v) { return Vd{} + v; }

TORVI_INLINE bool any(Vl v) {
  int64_t acc = 0;
  for (int l = 0; l < kWidth; ++l) acc |= v[l];
  return acc != 0;
}

// What a block of rows has seen: values near halfway between two singles,
// and the smallest and largest magnitude of any value rounded.
struct Watch {
  Vl clear_of_half;  // all ones while no value came near halfway
  Vd low, high{};
  TORVI_INLINE Watch() {
    clear_of_half = Vl{} - 1;
    low = broadcast(kMaxSafe);
  }
  // Watches s before it is rounded to single.
  TORVI_INLINE Vd round(Vd s) {
    const Vl bits = (Vl)s;  // the same 64 bits, read as an integer
    // The low bits' distance from halfway, shifted to be small and positive
    // there (the sum wraps: unsigned).
    const Vl offset = (Vl)(((Vu)bits + (uint64_t)(kMargin - kHalfway)) & (uint64_t)kLowBits);
    clear_of_half &= offset > 2 * kMargin;
    const Vd a = (Vd)(bits & INT64_MAX);
    low = a < low ? a : low;
    high = a > high ? a : high;
    return to_single(s);
  }
  TORVI_INLINE bool in_doubt() const { return any(~clear_of_half | (low < kMinNormal) | (high >= kMaxSafe)); }
};


// b = X'y over the rows [r0, r1) for every lane, the extended way.
TORVI_INLINE void cross_products_exactly(const Model& model, const double* y, int64_t r0, int64_t r1, int m,
                                         Vd (*b)[kGroups]) {
  for (int l = 0; l < kLanes; ++l)
    for (int j = 0; j < m; ++j) {
      float s = static_cast<float>(b[j][l / kWidth][l % kWidth]);
      for (int64_t r = r0; r < r1; ++r) s = add_product(s, model.xv(r, j), static_cast<float>(y[r * kLanes + l]));
      b[j][l / kWidth][l % kWidth] = s;
    }
}

// Accumulates m sums per lane over the rows, in blocks: add(xr, yv, g,
// watch) adds the row with explanatory values xr and responses yv to the
// sums of group g; a block whose watch is in doubt is done again by
// exactly(r0, r1) from the sums it started with. M is the number of
// variables when it is known while building (0: model.m).
template <int M, class Add, class Exactly>
TORVI_INLINE void sums_in_blocks(const WideModel& w, const double* y, Vd (*sums)[kGroups], Add&& add,
                                 Exactly&& exactly) {
  const int m = M ? M : w.model.m;
  const int64_t n = w.model.n;
  for (int k = 0; k < m; ++k)
    for (int g = 0; g < kGroups; ++g) sums[k][g] = Vd{};
  Vd start[kMaxExplanatory][kGroups];
  for (int64_t r0 = 0; r0 < n; r0 += kBlockRows) {
    const int64_t r1 = std::min(n, r0 + kBlockRows);
    std::memcpy(start, sums, sizeof(Vd) * kGroups * m);
    Watch watch;  // one for all groups: a block in doubt is done again for every lane
    for (int64_t r = r0; r < r1; ++r) {
      const double* xr = &w.x[static_cast<size_t>(r) * m];
      for (int g = 0; g < kGroups; ++g) add(xr, load_row(y, r, g), g, watch);
    }
    if (watch.in_doubt()) {
      std::memcpy(sums, start, sizeof(Vd) * kGroups * m);
      exactly(r0, r1);
    }
  }
}

// b = X'y for every lane.
template <int M>
TORVI_INLINE void cross_products_lanes(const WideModel& w, const double* y, Vd (*b)[kGroups]) {
  const int m = M ? M : w.model.m;
  sums_in_blocks<M>(
      w, y, b,
      [&](const double* xr, const Vd& yv, int g, Watch& watch) __attribute__((always_inline)) {
        for (int j = 0; j < m; ++j) b[j][g] = watch.round(b[j][g] + xr[j] * yv);
      },
      [&](int64_t r0, int64_t r1) { cross_products_exactly(w.model, y, r0, r1, m, b); });
}

// Residual sums of the nested models over the rows [r0, r1), the extended
// way; beta[k][j] is coefficient j of the model with the first k + 1
// variables.
TORVI_INLINE void residual_sums_exactly(const Model& model, const double* y, int64_t r0, int64_t r1, int m,
                                        const Vd (*beta)[kMaxExplanatory][kGroups], Vd (*rss)[kGroups]) {
  for (int l = 0; l < kLanes; ++l) {
    const int g = l / kWidth, i = l % kWidth;
    for (int k = 0; k < m; ++k) {
      float sum = static_cast<float>(rss[k][g][i]);
      for (int64_t r = r0; r < r1; ++r) {
        float fitted = 0;
        for (int j = 0; j <= k; ++j) fitted = add_product(fitted, static_cast<float>(beta[k][j][g][i]), model.xv(r, j));
        sum = add_square_diff(sum, static_cast<float>(y[r * kLanes + l]), fitted);
      }
      rss[k][g][i] = sum;
    }
  }
}

template <int M>
TORVI_INLINE void residual_sums_lanes(const WideModel& w, const double* y, const Vd (*beta)[kMaxExplanatory][kGroups],
                                      Vd (*rss)[kGroups]) {
  const int m = M ? M : w.model.m;
  sums_in_blocks<M>(
      w, y, rss,
      [&](const double* xr, const Vd& yv, int g, Watch& watch) __attribute__((always_inline)) {
        for (int k = 0; k < m; ++k) {
          Vd fitted = watch.round(beta[k][0][g] * xr[0]);
          for (int j = 1; j <= k; ++j) fitted = watch.round(fitted + beta[k][j][g] * xr[j]);
          const Vd e = yv - fitted;
          rss[k][g] = watch.round(rss[k][g] + e * e);
        }
      },
      [&](int64_t r0, int64_t r1) { residual_sums_exactly(w.model, y, r0, r1, m, beta, rss); });
}

template <int M>
TORVI_INLINE void fit_lanes_of(const WideModel& w, const FitCache& cache, const double* y, LaneResult* out) {
  const int m = M ? M : w.model.m;
  Vd b[kMaxExplanatory][kGroups];
  cross_products_lanes<M>(w, y, b);

  Vd beta[kMaxExplanatory][kMaxExplanatory][kGroups];
  for (int l = 0; l < kLanes; ++l) {
    const int g = l / kWidth, i = l % kWidth;
    float bl[kMaxExplanatory], beta_k[kMaxExplanatory];
    for (int j = 0; j < m; ++j) bl[j] = static_cast<float>(b[j][g][i]);
    for (int k = 1; k <= m; ++k) {
      nested_beta(cache, k, bl, beta_k);
      for (int j = 0; j < k; ++j) beta[k - 1][j][g][i] = beta_k[j];
    }
  }

  Vd rss[kMaxExplanatory][kGroups];
  residual_sums_lanes<M>(w, y, beta, rss);

  for (int l = 0; l < kLanes; ++l) {
    const int g = l / kWidth, i = l % kWidth;
    float rss_l[kMaxExplanatory];
    for (int k = 0; k < m; ++k) rss_l[k] = static_cast<float>(rss[k][g][i]);
    LaneResult& o = out[l];
    sequential_ss(cache.sst, rss_l, m, o.ss);
    o.rss = rss_l[m - 1];
    for (int j = 0; j < m; ++j) o.beta[j] = static_cast<float>(beta[m - 1][j][g][i]);
  }
}

}  // namespace

// The resolver that picks a clone runs while the program is being loaded,
// before the thread sanitizer's runtime exists, and crashes under it: that
// build takes the plain version.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define TORVI_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TORVI_AVX2_CLONES
#endif

TORVI_AVX2_CLONES
void fit_lanes(const WideModel& wide, const FitCache& cache, const double* y, LaneResult* out) {
  // Models of one to three variables, the usual ones, keep every sum in a
  // register.
  switch (wide.model.m) {
    case 1: return fit_lanes_of<1>(wide, cache, y, out);
    case 2: return fit_lanes_of<2>(wide, cache, y, out);
    case 3: return fit_lanes_of<3>(wide, cache, y, out);
    default: return fit_lanes_of<0>(wide, cache, y, out);
  }
}

WideModel::WideModel(const Model& m) : model(m), x(m.x.begin(), m.x.end()) {}

TORVI_AVX2_CLONES
void gather_lanes(const float* tri, const int32_t* const* orders, int objects, double* y) {
  // Per object position, for every lane: the object and the first cell of
  // its row in the triangle. The cell of two objects lies in the row of the
  // larger one, whose row also starts later.
  Vi object[kMaxObjects], row[kMaxObjects];
  for (int i = 0; i < objects; ++i)
    for (int l = 0; l < kLanes; ++l) {
      object[i][l] = orders[l][i];
      row[i][l] = orders[l][i] * (orders[l][i] - 1) / 2;
    }
  for (int i = 1; i < objects; ++i) {
    const Vi oi = object[i], ri = row[i];
    for (int j = 0; j < i; ++j, y += kLanes) {
      const Vi cell = (ri > row[j] ? ri : row[j]) + (oi < object[j] ? oi : object[j]);
      for (int l = 0; l < kLanes; ++l) y[l] = tri[cell[l]];
    }
  }
}

}  // namespace torvi::regress
