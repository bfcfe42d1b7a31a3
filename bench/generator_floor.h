#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "random/rng.h"

namespace torvi::bench {

// Integer draws whose range runs down from 1000 to 2 and over again, as in
// a shuffle: with a constant range the compiler keeps it out of the loop
// and each draw costs about 40% less.
inline int32_t varying_range_draws(Rng& rng, int64_t draws) {
  int32_t sink = 0, range = 1000;
  for (int64_t k = 0; k < draws; ++k) {
    sink += rng.rnd_int(range);
    range = range > 2 ? range - 1 : 1000;
  }
  return sink;
}

// Seconds the bare generator takes for `draws` draws. This machine's speed
// drifts by a quarter from one second to the next, so each test is compared
// with the generator timed right after it.
inline double floor_seconds(int64_t draws) {
  Rng rng(12345, 67890);
  const auto t0 = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(varying_range_draws(rng, draws));
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Draws a test took: steps a copy of `from` until it reaches `to`.
inline int64_t draws_between(Rng from, const Rng& to) {
  int64_t draws = 0;
  for (; !(from == to); ++draws) from.rnd_uniform();
  return draws;
}

// The least of the repetitions, for --benchmark_repetitions.
inline double least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace torvi::bench
