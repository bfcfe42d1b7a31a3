#include "randtests/rank_p_interval.h"

#include <gtest/gtest.h>

#include <vector>

namespace torvi {
namespace {

std::string line_for(std::vector<long double> sorted, long double observed) {
  return rank_p_line("loc1", rank_p_interval(sorted.data(), static_cast<long long>(sorted.size()), observed));
}

TEST(RankPInterval, ProportionsAndBoundLines) {
  EXPECT_EQ(line_for({0.1L, 0.2L, 0.3L}, 0.3L), "loc1\tProp rand. larger than observed< \t   0.33333");
  EXPECT_EQ(line_for({0.1L, 0.2L, 0.3L, 0.4L, 0.5L}, 0.3L),
            "loc1\tProp rand. larger than observed in [\t   0.40000\t   0.40000]");
  EXPECT_EQ(line_for({0.1L, 0.3L, 0.3L, 0.4L, 0.5L}, 0.3L),
            "loc1\tProp rand. larger than observed in [\t   0.60000\t   0.40000]");
  EXPECT_EQ(line_for({0.1L, 0.3L, 0.4L, 0.5L, 0.6L}, 0.3L),
            "loc1\tProp rand. larger than observed in [\t   0.60000\t   0.60000]");
}

TEST(RankPInterval, ValuesWithinToleranceCountAsEqual) {
  // 0.300001 lies within 1e-5 of the observed: at least o - 1e-5 but not above o + 1e-5.
  const std::vector<long double> v{0.1L, 0.3L, 0.300001L, 0.5L};
  RankP p = rank_p_interval(v.data(), 4, 0.3L);
  EXPECT_FALSE(p.bound);
  EXPECT_NEAR(static_cast<double>(p.first), 0.5, 1e-15);   // D = 2
  EXPECT_NEAR(static_cast<double>(p.second), 0.25, 1e-15); // U = 3
  EXPECT_EQ(rank_p_line("All Loci", rank_p_interval(v.data(), 1, 0.1L)),
            "All Loci\tProp rand. larger than observed< \t   1.00000");
}

}  // namespace
}  // namespace torvi
