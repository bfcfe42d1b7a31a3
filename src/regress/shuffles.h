#pragma once

#include <cstdint>

#include "random/rng.h"

namespace torvi::regress {

// Shuffles the n values of v: for j = n down to 2 the value at j is exchanged
// with the one at 1 + rnd_int(j) (1-based), n - 1 draws. Shuffles accumulate:
// each starts from the order the previous one left.
template <class T>
void permute_vector(Rng& rng, T* v, int64_t n) {
  for (int64_t j = n; j >= 2; --j) {
    const int64_t k = 1 + rng.rnd_int(static_cast<int32_t>(j));
    const T t = v[j - 1];
    v[j - 1] = v[k - 1];
    v[k - 1] = t;
  }
}

// Reorders the objects of a distance matrix. `order` holds, for each object
// position, the object of the original matrix now standing there; the same
// exchanges a fresh permutation would make from the identity are made on it,
// so the matrix after this call holds at cell (i, j) the cell (pi[i], pi[j])
// of the matrix before it, as unpacking, permuting and packing would.
inline void permute_matrix(Rng& rng, int32_t* order, int objects) { permute_vector(rng, order, objects); }

// Number of cells in the lower triangle of an N x N matrix.
inline int64_t triangle_cells(int64_t objects) { return objects * (objects - 1) / 2; }

}  // namespace torvi::regress
