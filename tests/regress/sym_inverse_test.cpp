#include "regress/sym_inverse.h"

#include <gtest/gtest.h>

namespace torvi::regress {
namespace {

SymMatrix matrix(int k, std::vector<float> a) { return SymMatrix{k, std::move(a)}; }

TEST(SymInverse, OneByOneIsTheReciprocalAndZeroIsSingularWithItsValue) {
  SymMatrix m = matrix(1, {4.0f});
  EXPECT_FALSE(sym_inverse(m));
  EXPECT_EQ(m.at(0, 0), 0.25f);

  SymMatrix zero = matrix(1, {0.0f});
  EXPECT_EQ(sym_inverse(zero).value_or(""), "  0.000000Singular matrix!. Exiting.");
  SymMatrix negative_zero = matrix(1, {-0.0f});
  EXPECT_EQ(sym_inverse(negative_zero).value_or(""), "  0.000000Singular matrix!. Exiting.");
}

TEST(SymInverse, ZeroPivotOfALargerMatrixIsSingular) {
  // The second column is twice the first: the second pivot is exactly 0.
  SymMatrix dependent = matrix(2, {1, 2, 2, 4});
  EXPECT_EQ(sym_inverse(dependent).value_or(""), "Singular matrix!. Exiting");
  // A zero first pivot stops at once, whatever follows.
  SymMatrix first = matrix(3, {0, 1, 1, 1, 2, 0, 1, 0, 3});
  EXPECT_EQ(sym_inverse(first).value_or(""), "Singular matrix!. Exiting");
}

// The sweeps of a 2 x 2 matrix written out by hand, each stored value
// rounded to single: they fix every digit of the inverse.
TEST(SymInverse, TwoByTwoFollowsTheSweepsDigitForDigit) {
  const float a = 3.7f, b = 1.3f, c = 2.9f;
  SymMatrix m = matrix(2, {a, b, b, c});
  ASSERT_FALSE(sym_inverse(m));

  const float d2 = static_cast<float>(c - static_cast<long double>(b) * b / a);
  const float b_over_a = static_cast<float>(static_cast<long double>(b) / a);
  const float minus_inv_a = static_cast<float>(-1.0L / a);
  const float s11 = static_cast<float>(minus_inv_a - static_cast<long double>(b_over_a) * b_over_a / d2);
  const float s21 = static_cast<float>(static_cast<long double>(b_over_a) / d2);
  const float s22 = static_cast<float>(-1.0L / d2);
  EXPECT_EQ(m.at(0, 0), -s11);
  EXPECT_EQ(m.at(1, 0), -s21);
  EXPECT_EQ(m.at(0, 1), -s21);
  EXPECT_EQ(m.at(1, 1), -s22);
}

TEST(SymInverse, LargerMatricesAreInvertedAndStayExactlySymmetric) {
  const int k = 5;
  SymMatrix m{k, std::vector<float>(k * k)};
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) m.at(i, j) = (i == j ? 10.0f : 0.0f) + 1.0f / static_cast<float>(1 + i + j);
  const SymMatrix original = m;
  ASSERT_FALSE(sym_inverse(m));
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      EXPECT_EQ(m.at(i, j), m.at(j, i));
      long double product = 0;
      for (int t = 0; t < k; ++t) product += static_cast<long double>(original.at(i, t)) * m.at(t, j);
      EXPECT_NEAR(static_cast<double>(product), i == j ? 1.0 : 0.0, 1e-6);
    }
}

}  // namespace
}  // namespace torvi::regress
