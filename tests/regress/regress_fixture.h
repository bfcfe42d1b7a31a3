#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include <numeric>

#include "random/rng.h"
#include "regress/regression_model.h"

namespace torvi::regress::testing {

// A reproducible table of n rows and v columns (row-major) of values with a
// few decimals: column c of row r mixes a smooth trend and a hash of (r, c),
// so that columns are related but none is a combination of the others.
inline std::vector<float> sample_table(int64_t n, int v, uint32_t salt = 1) {
  std::vector<float> t(static_cast<size_t>(n) * v);
  for (int64_t r = 0; r < n; ++r)
    for (int c = 0; c < v; ++c) {
      uint32_t h = static_cast<uint32_t>(r * 2654435761u) ^ (static_cast<uint32_t>(c + 1) * 40503u) ^ salt * 97u;
      h ^= h >> 13;
      h *= 0x5bd1e995u;
      h ^= h >> 15;
      const double noise = static_cast<double>(h % 100000) / 1000.0;
      t[static_cast<size_t>(r) * v + c] = static_cast<float>(noise + 0.3 * c * std::sin(0.01 * r) * 50.0);
    }
  return t;
}

// Column c of a row-major table.
inline std::vector<float> column(const std::vector<float>& t, int v, int c) {
  std::vector<float> out;
  for (size_t r = c; r < t.size(); r += v) out.push_back(t[r]);
  return out;
}

// The matrix shuffle as described: unpack the triangle into a full matrix,
// draw a fresh order from the identity, pack the cell (pi[i], pi[j]) back.
template <class T>
std::vector<T> unpack_permute_pack(Rng& rng, const std::vector<T>& tri, int objects) {
  std::vector<std::vector<T>> full(objects, std::vector<T>(objects, 0));
  size_t r = 0;
  for (int i = 1; i < objects; ++i)
    for (int j = 0; j < i; ++j, ++r) full[i][j] = full[j][i] = tri[r];
  std::vector<int> pi(objects);
  std::iota(pi.begin(), pi.end(), 0);
  for (int j = objects; j >= 2; --j) std::swap(pi[j - 1], pi[rng.rnd_int(j)]);
  std::vector<T> out;
  for (int i = 1; i < objects; ++i)
    for (int j = 0; j < i; ++j) out.push_back(full[pi[i]][pi[j]]);
  return out;
}

}  // namespace torvi::regress::testing
