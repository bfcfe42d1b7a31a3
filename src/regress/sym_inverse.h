#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torvi::regress {

// A k x k symmetric matrix of single-precision reals, row-major, both
// triangles held and kept equal.
struct SymMatrix {
  int k = 0;
  std::vector<float> a;
  float& at(int i, int j) { return a[static_cast<size_t>(i) * k + j]; }
  float at(int i, int j) const { return a[static_cast<size_t>(i) * k + j]; }
};

// Inverts `m` in place by Gauss-Jordan sweeps on the diagonal, in order, with
// no exchanges; the matrix stays exactly symmetric at every step. Returns
// nothing on success, or the text the program prints when a pivot is exactly
// zero (the matrix is then left part-swept).
std::optional<std::string> sym_inverse(SymMatrix& m);

}  // namespace torvi::regress
