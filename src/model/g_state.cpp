#include "model/g_state.h"

#include <cstddef>

#include "model/limits.h"

namespace torvi {

void GState::allocate(int nl) {
  g_locus.assign(static_cast<size_t>(nl) + 1, 0.0L);
  obs_g_locus.assign(static_cast<size_t>(nl) + 1, na_value);
  g_total = obs_g_total = 0;
}

}  // namespace torvi
