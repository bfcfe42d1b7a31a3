#pragma once

#include "regress/regression_model.h"

namespace torvi::regress {

// Randomisations fitted side by side: the same operations on kLanes
// responses at once, with results equal to fit() on each of them.
inline constexpr int kLanes = 4;

struct LaneResult {
  float rss;
  float beta[kMaxExplanatory];
  float ss[kMaxExplanatory];
};

// Fits kLanes responses held interleaved (y[r * kLanes + l] is row r of
// response l) with the cached inverses; allocates nothing.
void fit_lanes(const Model& model, const FitCache& cache, const float* y, LaneResult* out);

}  // namespace torvi::regress
