#include "util/sort_reals.h"

#include <utility>

namespace torvi {

void sort_reals(long double* a, long long lo, long long hi) {
  // Partition around the middle element; recurse into the smaller part and
  // loop on the larger so that the stack stays logarithmic.
  while (lo < hi) {
    long long i = lo, j = hi;
    const long double pivot = a[lo + (hi - lo) / 2];
    do {
      while (a[i] < pivot) ++i;
      while (pivot < a[j]) --j;
      if (i <= j) {
        std::swap(a[i], a[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) sort_reals(a, lo, j);
      lo = i;
    } else {
      if (i < hi) sort_reals(a, i, hi);
      hi = j;
    }
  }
}

}  // namespace torvi
