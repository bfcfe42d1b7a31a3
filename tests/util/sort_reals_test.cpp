#include "util/sort_reals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace torvi {
namespace {

TEST(SortReals, SortsLikeStdSortIncludingDuplicatesAndOrderedInput) {
  std::mt19937 gen(7);
  for (int n : {1, 2, 3, 10, 1000, 50000}) {
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<long double> a(n + 1);
      for (int i = 1; i <= n; ++i)
        a[i] = kind == 0 ? gen() % 1000 / 7.0L : kind == 1 ? i : kind == 2 ? n - i : gen() % 3;
      std::vector<long double> want(a.begin() + 1, a.end());
      std::sort(want.begin(), want.end());
      sort_reals(a.data(), 1, n);
      EXPECT_TRUE(std::equal(want.begin(), want.end(), a.begin() + 1)) << n << " " << kind;
    }
  }
}

TEST(SortReals, TouchesOnlyTheRange) {
  std::vector<long double> a = {9, 5, 4, 3, 2, 1, -1};
  sort_reals(a.data(), 2, 4);
  EXPECT_EQ(a, (std::vector<long double>{9, 5, 2, 3, 4, 1, -1}));
}

}  // namespace
}  // namespace torvi
