#include "regress/shuffles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>

namespace torvi::regress {
namespace {

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

// The matrix shuffle as described: unpack the triangle into a full matrix,
// draw a fresh order from the identity, pack the cell (pi[i], pi[j]) back.
std::vector<float> unpack_permute_pack(Rng& rng, const std::vector<float>& tri, int objects) {
  std::vector<std::vector<float>> full(objects, std::vector<float>(objects, 0));
  size_t r = 0;
  for (int i = 1; i < objects; ++i)
    for (int j = 0; j < i; ++j, ++r) full[i][j] = full[j][i] = tri[r];
  std::vector<int> pi(objects);
  std::iota(pi.begin(), pi.end(), 0);
  for (int j = objects; j >= 2; --j) std::swap(pi[j - 1], pi[rng.rnd_int(j)]);
  std::vector<float> out;
  for (int i = 1; i < objects; ++i)
    for (int j = 0; j < i; ++j) out.push_back(full[pi[i]][pi[j]]);
  return out;
}

TEST(Shuffles, ObjectOrdersAccumulateLikeRepeatedUnpackingAndPacking) {
  const int objects = 9;
  std::vector<float> tri(triangle_cells(objects));
  std::iota(tri.begin(), tri.end(), 1.0f);
  Rng literal(2024, 77), ours(2024, 77);
  std::vector<float> shuffled = tri, gathered(tri.size());
  std::vector<int32_t> order(objects);
  std::iota(order.begin(), order.end(), 0);
  for (int t = 0; t < 25; ++t) {
    shuffled = unpack_permute_pack(literal, shuffled, objects);
    permute_matrix(ours, order.data(), objects);
    gather_triangle(tri.data(), order.data(), objects, gathered.data(), 1);
    ASSERT_EQ(gathered, shuffled) << "after shuffle " << t + 1;
  }
  EXPECT_EQ(literal, ours);
}

// Three objects: the three cells always come out as the cells of the same
// matrix under one of the 6 orders of its objects, and all 6 orders occur.
TEST(Shuffles, ThreeObjectsReorderConsistently) {
  const float d21 = 1, d31 = 2, d32 = 3;
  const float d[3][3] = {{0, d21, d31}, {d21, 0, d32}, {d31, d32, 0}};
  std::map<std::vector<float>, int> seen;
  std::vector<int> pi = {0, 1, 2};
  do seen[{d[pi[1]][pi[0]], d[pi[2]][pi[0]], d[pi[2]][pi[1]]}] = 0;
  while (std::next_permutation(pi.begin(), pi.end()));
  ASSERT_EQ(seen.size(), 6u);

  const std::vector<float> tri = {d21, d31, d32};
  Rng rng(31, 41);
  std::vector<int32_t> order = {0, 1, 2};
  std::map<std::vector<int32_t>, int> orders;
  std::vector<float> out(3);
  for (int t = 0; t < 600; ++t) {
    permute_matrix(rng, order.data(), 3);
    gather_triangle(tri.data(), order.data(), 3, out.data(), 1);
    ASSERT_TRUE(seen.count(out)) << out[0] << " " << out[1] << " " << out[2];
    ++orders[order];
  }
  EXPECT_EQ(orders.size(), 6u);
}

TEST(Shuffles, TriangleGatherWritesWithAStride) {
  const std::vector<float> tri = {1, 2, 3, 4, 5, 6};  // 4 objects
  const int32_t identity[] = {0, 1, 2, 3}, reversed[] = {3, 2, 1, 0};
  std::vector<float> out(12, -1);
  gather_triangle(tri.data(), identity, 4, out.data(), 2);
  gather_triangle(tri.data(), reversed, 4, out.data() + 1, 2);
  // Reversed: cell (2,1) is (3,4) = 6, (3,1) is (2,4) = 5, (3,2) is (2,3) = 3, ...
  EXPECT_EQ(out, (std::vector<float>{1, 6, 2, 5, 3, 3, 4, 4, 5, 2, 6, 1}));
}

}  // namespace
}  // namespace torvi::regress
