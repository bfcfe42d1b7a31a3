#include "regress/shuffles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>

#include "regress/lane_fit.h"
#include "regress/regress_fixture.h"

namespace torvi::regress {
namespace {

using testing::unpack_permute_pack;

// From seeds 12345 and 67890 the first draws are 0.9435973904,
// 0.9083188494, 0.1466878273: rnd_int(4) = 3, rnd_int(3) = 2, rnd_int(2) = 0,
// so positions 4 and 3 keep their values and positions 2 and 1 exchange.
TEST(Shuffles, VectorExchangesFromTheLastPositionDown) {
  Rng rng(12345, 67890);
  int v[] = {10, 20, 30, 40};
  permute_vector(rng, v, 4);
  EXPECT_EQ(std::vector<int>(v, v + 4), (std::vector<int>{20, 10, 30, 40}));
  Rng after(12345, 67890);
  after.jump(3);
  EXPECT_EQ(rng, after);  // n - 1 draws
}

// Lane l of the gathered responses after each round of shuffles.
std::vector<double> lane(const std::vector<double>& y, int l) {
  std::vector<double> out;
  for (size_t r = l; r < y.size(); r += kLanes) out.push_back(y[r]);
  return out;
}

// Four streams of shuffles, gathered side by side through the object orders,
// against unpacking, permuting and packing the matrix again and again.
TEST(Shuffles, ObjectOrdersAccumulateLikeRepeatedUnpackingAndPacking) {
  const int objects = 9;
  std::vector<float> tri(triangle_cells(objects));
  std::iota(tri.begin(), tri.end(), 1.0f);
  std::vector<Rng> literal, ours;
  std::vector<std::vector<float>> shuffled(kLanes, tri);
  std::vector<std::vector<int32_t>> order(kLanes, std::vector<int32_t>(objects));
  for (int l = 0; l < kLanes; ++l) {
    literal.emplace_back(2024 + l, 77);
    ours.emplace_back(2024 + l, 77);
    std::iota(order[l].begin(), order[l].end(), 0);
  }
  std::vector<double> gathered(tri.size() * kLanes);
  for (int t = 0; t < 25; ++t) {
    const int32_t* orders[kLanes];
    for (int l = 0; l < kLanes; ++l) {
      shuffled[l] = unpack_permute_pack(literal[l], shuffled[l], objects);
      permute_matrix(ours[l], order[l].data(), objects);
      orders[l] = order[l].data();
    }
    gather_lanes(tri.data(), orders, objects, gathered.data());
    for (int l = 0; l < kLanes; ++l)
      ASSERT_EQ(lane(gathered, l), std::vector<double>(shuffled[l].begin(), shuffled[l].end()))
          << "shuffle " << t + 1 << " lane " << l;
  }
  for (int l = 0; l < kLanes; ++l) EXPECT_EQ(literal[l], ours[l]);
}

// Three objects: the three cells always come out as the cells of the same
// matrix under one of the 6 orders of its objects, and all 6 orders occur.
TEST(Shuffles, ThreeObjectsReorderConsistently) {
  const double d21 = 1, d31 = 2, d32 = 3;
  const double d[3][3] = {{0, d21, d31}, {d21, 0, d32}, {d31, d32, 0}};
  std::map<std::vector<double>, int> images;
  std::vector<int> pi = {0, 1, 2};
  do images[{d[pi[1]][pi[0]], d[pi[2]][pi[0]], d[pi[2]][pi[1]]}] = 0;
  while (std::next_permutation(pi.begin(), pi.end()));
  ASSERT_EQ(images.size(), 6u);

  const std::vector<float> tri = {d21, d31, d32};
  Rng rng(31, 41);
  std::vector<int32_t> order = {0, 1, 2};
  const int32_t* orders[kLanes];
  std::fill(std::begin(orders), std::end(orders), order.data());
  std::vector<double> out(3 * kLanes);
  for (int t = 0; t < 600; ++t) {
    permute_matrix(rng, order.data(), 3);
    gather_lanes(tri.data(), orders, 3, out.data());
    ++images.at(lane(out, 0));
  }
  for (const auto& [image, count] : images) EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace torvi::regress
