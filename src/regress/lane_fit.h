#pragma once

#include <cstdint>
#include <vector>

#include "regress/regression_model.h"

namespace torvi::regress {

// Randomisations fitted side by side: the same operations on kLanes
// responses at once, with results equal to fit() on each of them.
inline constexpr int kLanes = 8;

// The model's explanatory values held once more in double precision (they
// are singles, so exactly), for the fits of the randomisations.
struct WideModel {
  explicit WideModel(const Model& m);
  const Model& model;
  std::vector<double> x;
};

struct LaneResult {
  float rss;
  float beta[kMaxExplanatory];
  float ss[kMaxExplanatory];
};

// Fits kLanes responses held interleaved (y[r * kLanes + l] is row r of
// response l, a single held in double) with the cached inverses; allocates
// nothing.
void fit_lanes(const WideModel& wide, const FitCache& cache, const double* y, LaneResult* out);

// The responses of kLanes reorderings of a distance matrix's objects,
// interleaved as fit_lanes takes them: row r of lane l is the cell r of the
// lower triangle of the matrix whose objects stand in orders[l], taken from
// the triangle `tri` of the original one.
void gather_lanes(const float* tri, const int32_t* const* orders, int objects, double* y);

}  // namespace torvi::regress
