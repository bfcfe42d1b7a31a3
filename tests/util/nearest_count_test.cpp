#include "util/nearest_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace torvi {
namespace {

int32_t reference(long double x) { return static_cast<int32_t>(x + 0.5L); }

TEST(NearestCount, EqualsTheExtendedRoundingEverywhere) {
  std::mt19937_64 gen(3);
  std::uniform_int_distribution<int32_t> whole(0, 400000);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 200000; ++i) {
    const long double c = whole(gen);
    // Counts that went through frequencies, arbitrary reals, and values a
    // hair either side of a half, where the double path must give way.
    const long double n = 1 + whole(gen) % 500;
    const long double values[] = {c, (c / (2 * n)) * 2 * n, c + unit(gen), c + 0.5L,
                                  std::nextafter(c + 0.5L, 0.0L), std::nextafter(c + 0.5L, 1e9L),
                                  c + 0.5L - 1e-9L, c + 0.5L + 1e-12L};
    for (long double x : values) ASSERT_EQ(nearest_count(x), reference(x)) << static_cast<double>(x);
  }
  EXPECT_EQ(nearest_count(0.0L), 0);
  EXPECT_EQ(nearest_count(0.49999999999L), 0);
  EXPECT_EQ(nearest_count(0.5L), 1);
}

}  // namespace
}  // namespace torvi
