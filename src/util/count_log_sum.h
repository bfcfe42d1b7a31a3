#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvi {

// k ln k for integer counts, from a table filled once: (long double)k * log(k).
class XLogX {
 public:
  explicit XLogX(int max_count = 0) { reserve(max_count); }
  // Makes the table cover 0..max_count (never shrinks).
  void reserve(int max_count);
  int max_count() const { return static_cast<int>(table_.size()) - 1; }
  // Counts beyond the table (callers that broke its contract) are computed.
  long double operator()(int k) const {
    return static_cast<size_t>(k) < table_.size() ? table_[static_cast<size_t>(k)] : direct(k);
  }

 private:
  static long double direct(int k);
  std::vector<long double> table_;
};

// Σ over the distinct counts c > 1 in ascending order of (cells holding c)
// × c ln c, so that the sum does not depend on which cells hold the counts.
// Cells are added one at a time (counts 2..max_count); take_sum() returns the
// sum and empties the histogram. Allocates nothing after construction.
class CountHistogram {
 public:
  explicit CountHistogram(int max_count = 0) { resize(max_count); }
  void resize(int max_count);
  int max_count() const { return static_cast<int>(holding_.size()) - 1; }
  void add(int32_t c) {
    if (holding_[static_cast<size_t>(c)]++ == 0) seen_[static_cast<size_t>(distinct_++)] = c;
  }
  // Adds cells[0..n-1], counts 0..max_count (0 and 1 add nothing to the sum).
  void add_cells(const int32_t* cells, size_t n);
  long double take_sum(const XLogX& xlogx);

 private:
  std::vector<int32_t> holding_;  // [count]: cells holding that count
  std::vector<int32_t> seen_;     // distinct counts added (unless scanning)
  int distinct_ = 0;
  // Set when many cells were added at once: take_sum then scans every count
  // rather than sorting those seen.
  bool scan_ = false;
};

}  // namespace torvi
