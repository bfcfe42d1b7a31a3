#pragma once

#include <cstdint>

#include "util/truncate_extended.h"

namespace torvi {

// The combined multiplicative congruential generator (two prime moduli near
// 2^31, Schrage stepping, combined by subtraction). The whole program draws
// from one stream; an Rng is a value so that worker threads can take a copy
// jumped ahead to the draw where their share of the work begins.
class Rng {
 public:
  Rng() = default;
  Rng(int32_t s1, int32_t s2) : seed1(s1), seed2(s2) {}

  // One step of the generator: a value in [4.656613e-10, 0.9999999872].
  // Inline: the randomisations draw in their innermost loops.
  double rnd_uniform() {
    int32_t k = seed1 / kQ1;
    seed1 = kA1 * (seed1 - k * kQ1) - k * kR1;
    if (seed1 < 0) seed1 += kM1;
    k = seed2 / kQ2;
    seed2 = kA2 * (seed2 - k * kQ2) - k * kR2;
    if (seed2 < 0) seed2 += kM2;
    int32_t z = seed1 - seed2;
    if (z < 1) z += kM1 - 1;
    return static_cast<double>(static_cast<long double>(z) * 4.656613e-10L);
  }

  // Uniform integer 0..n-1 for n >= 1: trunc(u * n) with u * n in extended
  // precision. The only draw the analyses use.
  int32_t rnd_int(int32_t n) {
    const double u = rnd_uniform();
    return truncate_extended(u * n, [u, n] { return static_cast<long double>(u) * n; });
  }

  // Advances the state by k draws in O(log k); equal to k calls of rnd_uniform.
  void jump(uint64_t k);

  // A copy of this stream advanced by k draws.
  Rng jumped(uint64_t k) const {
    Rng r = *this;
    r.jump(k);
    return r;
  }

  // An advance by a fixed number of draws, worked out once, for callers that
  // skip the same distance many times (two multiplications per skip).
  struct Stride {
    int64_t mul1 = 1, mul2 = 1;
  };
  static Stride stride(uint64_t k);
  // Equal to jump(k) for the k the stride was made for, on a state that has
  // made at least one draw (or holds seeds within their ranges).
  void jump(const Stride& s);

  bool operator==(const Rng&) const = default;

  // Moduli, multipliers and Schrage's quotients and remainders.
  static constexpr int32_t kM1 = 2147483563, kA1 = 40014, kQ1 = 53668, kR1 = 12211;
  static constexpr int32_t kM2 = 2147483399, kA2 = 40692, kQ2 = 52774, kR2 = 3791;

  int32_t seed1 = 0;  // valid 1..2147483562
  int32_t seed2 = 0;  // valid 1..2147483398
};

inline constexpr int32_t kSeed1Max = 2147483562;
inline constexpr int32_t kSeed2Max = 2147483398;

}  // namespace torvi
