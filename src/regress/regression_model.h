#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "regress/sym_inverse.h"
#include "torvi/regress.h"

namespace torvi::regress {

inline constexpr int kMaxExplanatory = kMaxVariables;

// The centred data of one run: the response and the explanatory columns in
// the order of the model, every value in single precision.
struct Model {
  int64_t n = 0;
  int m = 0;
  std::vector<float> x;  // row-major n x m, centred
  std::vector<float> y;  // centred response
  std::vector<float> x_means;
  float y_mean = 0;

  float xv(int64_t r, int j) const { return x[static_cast<size_t>(r) * m + j]; }
};

// Centres the column `dep` and the columns `expl` (in that order) of a
// row-major table of n rows and v columns: each mean is the sum of the
// column divided by n.
Model centred_model(const std::vector<float>& table, int64_t n, int v, int dep, const std::vector<int>& expl);

// What every fit of a run shares: A = X'X, the inverse of each of its leading
// k x k blocks (k = 1..m), and the total sum of squares of the response.
struct FitCache {
  SymMatrix a;
  std::vector<SymMatrix> inverse;  // inverse[k-1]: leading k x k block
  float sst = 0;
};

// Fills the cache from the model; the text the program prints when a block
// is singular, otherwise nothing.
std::optional<std::string> build_cache(const Model& model, FitCache& cache);

// One fit of the nested models: coefficients of the full model, sequential
// sums of squares of each variable, residual sum of squares.
struct Fit {
  std::vector<float> beta;
  std::vector<float> ss;
  float rss = 0;
};

// b = X'y for a response `y` of n values (X of the model).
void cross_products(const Model& model, const float* y, float* b);

// Coefficients of the nested model with the first k variables: the inverse
// of the leading k x k block times b[0..k).
void nested_beta(const FitCache& cache, int k, const float* b, float* beta);

// The fit of `y` (the model's response or a permutation of it), computed
// row by row as the report defines it; the randomisations use a faster
// route with the same results.
Fit fit(const Model& model, const FitCache& cache, const float* y);

// Sequential sums of squares from the residual sums of the nested models.
void sequential_ss(float sst, const float* rss_nested, int m, float* ss);

// Estimate and residual of every row under the full model (centred scale).
struct Residuals {
  std::vector<float> estimate, residual;
};
Residuals residuals(const Model& model, const Fit& full);

}  // namespace torvi::regress
