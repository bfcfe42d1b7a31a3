#pragma once

#include "host/host.h"
#include "random/rng.h"
#include "regress/mantel_report.h"
#include "regress/regression_model.h"

namespace torvi::regress {

// What the randomisations of one run need: the centred model and its cache,
// the observed fit, the number R of data sets (observed included) and, for
// distance matrices, the number of objects (0 when the rows are shuffled).
struct RandomisationSetup {
  const Model& model;
  const FitCache& cache;
  const Fit& observed;
  int randomisations = 0;
  int objects = 0;
  int threads = 1;
  // Bound on the values a batch of shuffled responses holds (rows mode).
  int64_t batch_values = int64_t{1} << 21;
};

// Draws the R - 1 shuffles in stream order from `rng` (each starting from
// the order the previous one left) and counts, for each, the coefficients at
// least as large in absolute value, the extra sums of squares at least as
// large and the error sum of squares at most as large as observed. The fits
// are spread over the threads; the counts and the stream left behind do not
// depend on their number. One progress step per randomisation; throws
// RunCancelled when the host asks to stop.
Counts randomise(const RandomisationSetup& setup, Rng& rng, Host& host);

}  // namespace torvi::regress
