#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace torvi {

// Randomisations the global tests (HW within samples, HW overall samples and
// the differentiation test assuming HW) need before they run.
inline constexpr int32_t kGlobalTestMinimum = 200;

// True when `n` randomisations are enough for a global test; otherwise the
// host is told that `test` is not done, and why.
inline bool enough_for_global_test(Host& host, int64_t n, const std::string& test) {
  if (n >= kGlobalTestMinimum) return true;
  host.note(test + " not done: fewer than " + std::to_string(kGlobalTestMinimum) + " randomisations asked.");
  return false;
}

}  // namespace torvi
