#pragma once

namespace torvi {

// Sorts a[lo..hi] ascending in place (recursive quicksort, middle pivot).
void sort_reals(long double* a, long long lo, long long hi);

}  // namespace torvi
