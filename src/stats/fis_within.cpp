#include "stats/fis_within.h"
#include "stats/tolerances.h"

#include <cmath>

namespace torvi {

namespace {

long double fis_ratio(long double b, long double b_plus_c) {
  if (b_plus_c == 0.0L) return na_value;
  long double f = b / b_plus_c;
  return std::fabs(f) <= kNegligibleRatio ? 0.0L : f;
}

}  // namespace

void fis_within(const CountTables& ct, const std::vector<long double>& het, std::vector<long double>& fis) {
  const AlleleIndex& ix = *ct.index;
  const int nl = ct.nl;
  for (int s = 1; s <= ct.np; ++s) {
    long double* row = &fis[static_cast<size_t>(s) * (nl + 1)];
    long double sum_b = 0.0L;
    long double sum_bc = 0.0L;
    for (int l = 1; l <= nl; ++l) {
      const int32_t typed = ct.typed(s, l);
      if (typed < 2) {
        row[l] = na_value;
        continue;
      }
      const long double n = typed;
      const long double two_n = 2.0L * n;
      const long double* copies = ct.allele_row(s, l);
      const long double* carriers = het.data() + ct.row(s, l);
      const long double* totals = ct.total_row(l);
      long double b_sum = 0.0L;
      long double c_sum = 0.0L;
      for (int k = 0; k < ix.alleles_at_locus(l); ++k) {
        const long double na = copies[k];
        if (totals[k] <= 0.0L || na <= 0.0L || na >= two_n) continue;
        const long double h = carriers[k];
        const long double p = na / two_n;
        const long double c = h / (2.0L * n);
        const long double b = n * (2.0L * p * (1.0L - p) - h / (2.0L * n)) / (2.0L * n - 2.0L) - h / (4.0L * n);
        c_sum += c;
        b_sum += b;
      }
      row[l] = fis_ratio(b_sum, b_sum + c_sum);
      sum_b += b_sum;
      sum_bc += b_sum + c_sum;
    }
    row[0] = fis_ratio(sum_b, sum_bc);
  }
}

}  // namespace torvi
