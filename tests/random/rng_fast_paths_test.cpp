#include <gtest/gtest.h>

#include <cstdint>

#include "random/rng.h"

namespace torvi {
namespace {

TEST(RngFastPaths, IntegerDrawIsTheTruncatedExtendedProduct) {
  Rng rng(4242, 777);
  for (int i = 0; i < 2000000; ++i) {
    Rng copy = rng;
    const int32_t n = 1 + static_cast<int32_t>((static_cast<int64_t>(i) * 7919) % 200000);
    const int32_t expected = static_cast<int32_t>(static_cast<long double>(copy.rnd_uniform()) * n);
    ASSERT_EQ(rng.rnd_int(n), expected) << i;
  }
  // Ranges up to the largest int, where the double product is least exact.
  for (int i = 0; i < 200000; ++i) {
    Rng copy = rng;
    const int32_t n = INT32_MAX - i * 10007;
    const int32_t expected = static_cast<int32_t>(static_cast<long double>(copy.rnd_uniform()) * n);
    ASSERT_EQ(rng.rnd_int(n), expected) << i;
  }
}

TEST(RngFastPaths, StrideEqualsJump) {
  for (uint64_t k : {uint64_t{0}, uint64_t{1}, uint64_t{987654321}, uint64_t{1} << 40}) {
    Rng a(123, 456), b(123, 456);
    a.rnd_uniform();
    b.rnd_uniform();
    a.jump(Rng::stride(k));
    b.jump(k);
    EXPECT_EQ(a, b) << k;
  }
}

}  // namespace
}  // namespace torvi
