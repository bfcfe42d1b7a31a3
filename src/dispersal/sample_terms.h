#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvi::dispersal {

// The per-sample terms of the set statistics, which depend only on the
// number n of typed individuals of a sample and an integer count: n·p and
// n·p² for an allele of c copies (p = c / 2n), n·h for h heterozygous
// carriers (h = carriers / n). Tabled for n up to the largest sample, within
// a memory budget; larger samples are computed as needed. Either way the
// value is the same expression evaluated in extended precision.
class SampleTerms {
 public:
  explicit SampleTerms(int32_t largest_sample);

  // Rows of size n, or null when n is beyond the tables.
  const long double* np_row(int32_t n) const { return n <= tabled_ ? &np_[copies_start(n)] : nullptr; }
  const long double* npp_row(int32_t n) const { return n <= tabled_ ? &npp_[copies_start(n)] : nullptr; }
  const long double* nh_row(int32_t n) const { return n <= tabled_ ? &nh_[carriers_start(n)] : nullptr; }

  static long double np(int32_t n, int32_t c) { return n * frequency(n, c); }
  static long double npp(int32_t n, int32_t c) {
    const long double p = frequency(n, c);
    return n * (p * p);
  }
  static long double nh(int32_t n, int32_t h) { return n * (static_cast<long double>(h) / static_cast<long double>(n)); }

 private:
  static long double frequency(int32_t n, int32_t c) {
    return static_cast<long double>(c) / static_cast<long double>(2 * n);
  }
  // Rows of sizes 1..n-1 hold 2m + 1 counts and m + 1 carriers each.
  static size_t copies_start(int32_t n) { return static_cast<size_t>(n) * static_cast<size_t>(n) - 1; }
  static size_t carriers_start(int32_t n) { return static_cast<size_t>(n - 1) * static_cast<size_t>(n) / 2 + static_cast<size_t>(n - 1); }

  int32_t tabled_ = 0;
  std::vector<long double> np_, npp_, nh_;
};

}  // namespace torvi::dispersal
