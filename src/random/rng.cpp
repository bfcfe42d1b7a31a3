#include "random/rng.h"

namespace torvi {

namespace {

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
