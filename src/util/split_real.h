#pragma once

namespace torvi {

// An extended real held as two doubles whose extended sum is exactly it. In
// the innermost loops two doubles load far faster than one extended real,
// and hi + lo formed in extended precision gives back the very value.
struct SplitReal {
  double hi = 0, lo = 0;

  long double value() const { return static_cast<long double>(hi) + lo; }

  // The split of x; check exact() before relying on it (an x whose low bits
  // a double cannot hold after the high part is rounded off, or beyond the
  // range of doubles, does not split).
  static SplitReal of(long double x) {
    const double hi = static_cast<double>(x);
    return {hi, static_cast<double>(x - hi)};
  }
  static bool exact(long double x) { return of(x).value() == x; }
};

}  // namespace torvi
