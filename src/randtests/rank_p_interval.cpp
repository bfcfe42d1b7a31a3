#include "randtests/rank_p_interval.h"

#include <algorithm>

#include "report/report_text.h"
#include "stats/tolerances.h"

namespace torvi {

RankP rank_p_interval(const long double* sorted, long long n, long double observed) {
  const long double* end = sorted + n;
  const long long upper = std::lower_bound(sorted, end, observed + kTieMargin) - sorted;
  const long long lower = std::lower_bound(sorted, end, observed - kTieMargin) - sorted;
  const long long d = lower + 1;
  RankP p;
  if (d < n) {
    p.first = 1.0L - static_cast<long double>(d) / n;
    p.second = 1.0L - static_cast<long double>(upper) / n;
  } else {
    p.bound = true;
    p.first = 1.0L / n;
  }
  return p;
}

std::string rank_p_line(const std::string& label, const RankP& p) {
  std::string line = label;
  line += col_sep;
  if (p.bound) {
    line += "Prop rand. larger than observed< ";
    line += col_sep;
    line += fixed(p.first, 10, 5);
  } else {
    line += "Prop rand. larger than observed in [";
    line += col_sep;
    line += fixed(p.first, 10, 5);
    line += col_sep;
    line += fixed(p.second, 10, 5);
    line += "]";
  }
  return line;
}

}  // namespace torvi
