#include "random/rng.h"

namespace torvi {

namespace {

constexpr int64_t kM1 = 2147483563, kA1 = 40014, kQ1 = 53668, kR1 = 12211;
constexpr int64_t kM2 = 2147483399, kA2 = 40692, kQ2 = 52774, kR2 = 3791;

// a^k mod m by repeated squaring; products fit in 64 bits since m < 2^31.
int64_t pow_mod(int64_t a, uint64_t k, int64_t m) {
  int64_t result = 1;
  a %= m;
  while (k > 0) {
    if (k & 1u) result = result * a % m;
    a = a * a % m;
    k >>= 1;
  }
  return result;
}

}  // namespace

double Rng::rnd_uniform() {
  int32_t k = seed1 / static_cast<int32_t>(kQ1);
  seed1 = static_cast<int32_t>(kA1) * (seed1 - k * static_cast<int32_t>(kQ1)) - k * static_cast<int32_t>(kR1);
  if (seed1 < 0) seed1 += static_cast<int32_t>(kM1);
  k = seed2 / static_cast<int32_t>(kQ2);
  seed2 = static_cast<int32_t>(kA2) * (seed2 - k * static_cast<int32_t>(kQ2)) - k * static_cast<int32_t>(kR2);
  if (seed2 < 0) seed2 += static_cast<int32_t>(kM2);
  int32_t z = seed1 - seed2;
  if (z < 1) z += static_cast<int32_t>(kM1 - 1);
  return static_cast<double>(static_cast<long double>(z) * 4.656613e-10L);
}

void Rng::jump(uint64_t k) {
  // Seeds read from the seeds file are not range-checked; one ordinary step
  // brings any state into 0..m-1, where stepping is exactly x -> a x mod m.
  if (k > 0 && (seed1 < 0 || seed1 >= kM1 || seed2 < 0 || seed2 >= kM2)) {
    rnd_uniform();
    --k;
  }
  // Each component is x -> a x mod m, so k steps multiply by a^k mod m.
  seed1 = static_cast<int32_t>(pow_mod(kA1, k, kM1) * seed1 % kM1);
  seed2 = static_cast<int32_t>(pow_mod(kA2, k, kM2) * seed2 % kM2);
}

Rng::Stride Rng::stride(uint64_t k) { return {pow_mod(kA1, k, kM1), pow_mod(kA2, k, kM2)}; }

void Rng::jump(const Stride& s) {
  seed1 = static_cast<int32_t>(s.mul1 * seed1 % kM1);
  seed2 = static_cast<int32_t>(s.mul2 * seed2 % kM2);
}

}  // namespace torvi
