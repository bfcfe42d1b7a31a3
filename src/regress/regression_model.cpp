#include "regress/regression_model.h"

#include "regress/single_arith.h"

namespace torvi::regress {

namespace {

// Centres one column (stride `v` in the table) into `out` (stride `step`).
float centre_column(const std::vector<float>& table, int64_t n, int v, int col, float* out, int step) {
  float sum = 0;
  for (int64_t r = 0; r < n; ++r) sum = static_cast<float>(static_cast<long double>(sum) + table[r * v + col]);
  const float mean = static_cast<float>(static_cast<long double>(sum) / n);
  for (int64_t r = 0; r < n; ++r) out[r * step] = diff(table[r * v + col], mean);
  return mean;
}

}  // namespace

Model centred_model(const std::vector<float>& table, int64_t n, int v, int dep, const std::vector<int>& expl) {
  Model model;
  model.n = n;
  model.m = static_cast<int>(expl.size());
  model.y.resize(static_cast<size_t>(n));
  model.x.resize(static_cast<size_t>(n) * model.m);
  model.y_mean = centre_column(table, n, v, dep, model.y.data(), 1);
  for (int j = 0; j < model.m; ++j)
    model.x_means.push_back(centre_column(table, n, v, expl[j], model.x.data() + j, model.m));
  return model;
}

std::optional<std::string> build_cache(const Model& model, FitCache& cache) {
  const int m = model.m;
  cache.a = SymMatrix{m, std::vector<float>(static_cast<size_t>(m) * m, 0.0f)};
  for (int i = 0; i < m; ++i)
    for (int j = 0; j <= i; ++j) {
      float s = 0;
      for (int64_t r = 0; r < model.n; ++r) s = add_product(s, model.xv(r, i), model.xv(r, j));
      cache.a.at(i, j) = cache.a.at(j, i) = s;
    }
  cache.sst = 0;
  for (float v : model.y) cache.sst = add_product(cache.sst, v, v);
  cache.inverse.clear();
  for (int k = 1; k <= m; ++k) {
    SymMatrix block{k, std::vector<float>(static_cast<size_t>(k) * k)};
    for (int i = 0; i < k; ++i)
      for (int j = 0; j < k; ++j) block.at(i, j) = cache.a.at(i, j);
    if (auto singular = sym_inverse(block)) return singular;
    cache.inverse.push_back(std::move(block));
  }
  return std::nullopt;
}

void cross_products(const Model& model, const float* y, float* b) {
  for (int j = 0; j < model.m; ++j) b[j] = 0;
  for (int64_t r = 0; r < model.n; ++r)
    for (int j = 0; j < model.m; ++j) b[j] = add_product(b[j], model.xv(r, j), y[r]);
}

void nested_beta(const FitCache& cache, int k, const float* b, float* beta) {
  const SymMatrix& inv = cache.inverse[static_cast<size_t>(k) - 1];
  for (int i = 0; i < k; ++i) {
    float s = 0;
    for (int j = 0; j < k; ++j) s = add_product(s, inv.at(i, j), b[j]);
    beta[i] = s;
  }
}

void sequential_ss(float sst, const float* rss_nested, int m, float* ss) {
  ss[0] = diff(sst, rss_nested[0]);
  for (int k = 1; k < m; ++k) ss[k] = diff(rss_nested[k - 1], rss_nested[k]);
}

Fit fit(const Model& model, const FitCache& cache, const float* y) {
  const int m = model.m;
  std::vector<float> b(static_cast<size_t>(m)), beta(static_cast<size_t>(m)), rss(static_cast<size_t>(m));
  cross_products(model, y, b.data());
  for (int k = 1; k <= m; ++k) {
    nested_beta(cache, k, b.data(), beta.data());
    float sum = 0;
    for (int64_t r = 0; r < model.n; ++r) {
      float fitted = 0;
      for (int j = 0; j < k; ++j) fitted = add_product(fitted, beta[j], model.xv(r, j));
      sum = add_square_diff(sum, y[r], fitted);
    }
    rss[static_cast<size_t>(k) - 1] = sum;
  }
  Fit result;
  result.beta = beta;
  result.ss.resize(static_cast<size_t>(m));
  sequential_ss(cache.sst, rss.data(), m, result.ss.data());
  result.rss = rss.back();
  return result;
}

Residuals residuals(const Model& model, const Fit& full) {
  Residuals out;
  out.estimate.resize(static_cast<size_t>(model.n));
  out.residual.resize(static_cast<size_t>(model.n));
  for (int64_t r = 0; r < model.n; ++r) {
    float fitted = 0;
    for (int j = 0; j < model.m; ++j) fitted = add_product(fitted, full.beta[j], model.xv(r, j));
    out.estimate[r] = fitted;
    out.residual[r] = diff(model.y[r], fitted);
  }
  return out;
}

}  // namespace torvi::regress
