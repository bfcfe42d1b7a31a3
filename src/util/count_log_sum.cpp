#include "util/count_log_sum.h"

#include <algorithm>
#include <cmath>

namespace torvi {

long double XLogX::direct(int k) {
  return k <= 0 ? 0.0L : static_cast<long double>(k) * std::log(static_cast<long double>(k));
}

void XLogX::reserve(int max_count) {
  const size_t old = table_.size();
  if (static_cast<size_t>(max_count) + 1 <= old) return;
  table_.resize(static_cast<size_t>(max_count) + 1);
  for (size_t k = old; k < table_.size(); ++k) table_[k] = direct(static_cast<int>(k));
}

void CountHistogram::resize(int max_count) {
  holding_.assign(static_cast<size_t>(max_count) + 1, 0);
  seen_.assign(static_cast<size_t>(max_count) + 1, 0);
  distinct_ = 0;
}

void CountHistogram::add_cells(const int32_t* cells, size_t n) {
  // Scanning all counts costs max_count steps: worth it when there are at
  // least as many cells, which then need no test or list of their own.
  if (n < holding_.size()) {
    for (size_t i = 0; i < n; ++i)
      if (cells[i] > 1) add(cells[i]);
    return;
  }
  scan_ = true;
  int32_t* holding = holding_.data();
  for (size_t i = 0; i < n; ++i) ++holding[cells[i]];
}

long double CountHistogram::take_sum(const XLogX& xlogx) {
  long double sum = 0;
  if (scan_) {
    holding_[0] = holding_[1] = 0;
    for (size_t c = 2; c < holding_.size(); ++c)
      if (holding_[c] != 0) {
        sum += static_cast<long double>(holding_[c]) * xlogx(static_cast<int>(c));
        holding_[c] = 0;
      }
    scan_ = false;
  } else {
    std::sort(seen_.begin(), seen_.begin() + distinct_);
    for (int d = 0; d < distinct_; ++d) {
      const int32_t c = seen_[static_cast<size_t>(d)];
      sum += static_cast<long double>(holding_[static_cast<size_t>(c)]) * xlogx(c);
      holding_[static_cast<size_t>(c)] = 0;
    }
  }
  distinct_ = 0;
  return sum;
}

}  // namespace torvi
