#include "regress/shuffles.h"

#include <algorithm>

namespace torvi::regress {

void gather_triangle(const float* y, const int32_t* order, int objects, float* out, int step) {
  int64_t r = 0;
  for (int i = 1; i < objects; ++i) {
    const int64_t oi = order[i];
    const int64_t row_i = oi * (oi - 1) / 2;
    for (int j = 0; j < i; ++j, ++r) {
      const int64_t oj = order[j];
      // The cell of objects oi and oj sits in the row of the larger one.
      const int64_t cell = oi > oj ? row_i + oj : oj * (oj - 1) / 2 + oi;
      out[r * step] = y[cell];
    }
  }
}

}  // namespace torvi::regress
