#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvi {

// Values that depend only on a sample size n and an integer count x in
// 0..span·n, tabulated for the sizes present so that the randomisations
// look them up rather than divide. Sizes whose rows would overrun the budget
// (very large samples) get none: row(n) is then null and the caller computes
// the value itself.
template <class Entry>
class SizeTables {
 public:
  SizeTables() = default;
  // fill(n, x) gives the entry of size n and count x.
  template <class Fill>
  SizeTables(const std::vector<int>& sizes, int span, Fill&& fill, size_t budget = size_t{1} << 20) {
    int largest = 0;
    for (int n : sizes) largest = std::max(largest, n);
    start_.assign(static_cast<size_t>(largest) + 1, kNone);
    for (int n : sizes) {
      const size_t length = static_cast<size_t>(span) * n + 1;
      if (n <= 0 || start_[n] != kNone || entries_.size() + length > budget) continue;
      start_[n] = entries_.size();
      for (size_t x = 0; x < length; ++x) entries_.push_back(fill(n, static_cast<int>(x)));
    }
  }
  const Entry* row(int n) const {
    return static_cast<size_t>(n) < start_.size() && start_[n] != kNone ? &entries_[start_[n]] : nullptr;
  }

 private:
  static constexpr size_t kNone = ~size_t{0};
  std::vector<size_t> start_;  // [n]: where size n's entries begin
  std::vector<Entry> entries_;
};

}  // namespace torvi
