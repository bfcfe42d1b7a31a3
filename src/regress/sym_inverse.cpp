#include "regress/sym_inverse.h"

#include "regress/single_arith.h"
#include "report/fixed_format.h"

namespace torvi::regress {

namespace {

constexpr int kElementWidth = 10, kElementDecimals = 6;

// One sweep on pivot p: the other cells lose their share of row p, then row
// and column p are divided by the pivot, and the pivot becomes -1/d. After
// all pivots the matrix holds the negated inverse.
void sweep(SymMatrix& m, int p, float d) {
  const int k = m.k;
  for (int i = 0; i < k; ++i) {
    if (i == p) continue;
    for (int j = 0; j <= i; ++j) {
      if (j == p) continue;
      const long double share = static_cast<long double>(m.at(i, p)) * m.at(p, j) / d;
      const float v = static_cast<float>(m.at(i, j) - share);
      m.at(i, j) = v;
      m.at(j, i) = v;
    }
  }
  for (int i = 0; i < k; ++i) {
    if (i == p) continue;
    const float v = quotient(m.at(i, p), d);
    m.at(i, p) = v;
    m.at(p, i) = v;
  }
  m.at(p, p) = static_cast<float>(-1.0L / d);
}

}  // namespace

std::optional<std::string> sym_inverse(SymMatrix& m) {
  if (m.k == 1) {
    const float a = m.at(0, 0);
    if (a == 0.0f) return fixed(a, kElementWidth, kElementDecimals) + "Singular matrix!. Exiting.";
    m.at(0, 0) = static_cast<float>(1.0L / a);
    return std::nullopt;
  }
  for (int p = 0; p < m.k; ++p) {
    const float d = m.at(p, p);
    if (d == 0.0f) return std::string("Singular matrix!. Exiting");
    sweep(m, p, d);
  }
  for (float& v : m.a) v = -v;
  return std::nullopt;
}

}  // namespace torvi::regress
