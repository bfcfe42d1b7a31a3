#pragma once

#include <cstdint>

namespace torvi {

// Randomisations the global tests (HW within samples, HW overall samples and
// the differentiation test assuming HW) need before they run.
inline constexpr int32_t kGlobalTestMinimum = 200;

}  // namespace torvi
