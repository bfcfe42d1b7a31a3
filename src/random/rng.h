#pragma once

#include <cstdint>

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
  double rnd_uniform();

  // Uniform integer 0..n-1 for n >= 1: trunc(u * n) with u * n in extended
  // precision. The only draw the analyses use.
  int32_t rnd_int(int32_t n) {
    return static_cast<int32_t>(static_cast<long double>(rnd_uniform()) * n);
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

  int32_t seed1 = 0;  // valid 1..2147483562
  int32_t seed2 = 0;  // valid 1..2147483398
};

inline constexpr int32_t kSeed1Max = 2147483562;
inline constexpr int32_t kSeed2Max = 2147483398;

}  // namespace torvi
