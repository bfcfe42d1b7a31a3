#include "dispersal/assignment.h"

#include <cmath>

namespace torvi::dispersal {

namespace {

using Real = long double;

// Running sums of one sex's indices.
struct SexSums {
  int64_t n = 0;
  Real sum = 0, squares = 0;
  void add(Real ai) {
    ++n;
    sum += ai;
    squares += ai * ai;
  }
  SexAssignment result() const {
    SexAssignment r;
    r.n = n;
    r.mean = ratio(sum, static_cast<Real>(n));
    if (r.mean) r.var = minus(ratio(squares, static_cast<Real>(n)), *r.mean * *r.mean);
    return r;
  }
};

// Mean log term of sample s at every locus typed in it, the sum taken over
// the sample's positions in order (an untyped position's term is 0 and
// leaves the sum as it is).
void sample_means(const AssignmentTerms& x, int32_t s, const int32_t* order, Real* means) {
  const int32_t first = x.cumulative[static_cast<size_t>(s) - 1], last = x.cumulative[static_cast<size_t>(s)];
  const int32_t* typed = &x.typed_count[(static_cast<size_t>(s) - 1) * static_cast<size_t>(x.nl)];
  const Real* terms = x.log_term.data();
  for (int32_t l = 0; l < x.nl; ++l) {
    Real sum = 0;
    for (int32_t pos = first; pos < last; ++pos) sum += terms[static_cast<size_t>(order[pos]) * static_cast<size_t>(x.nl) + static_cast<size_t>(l)];
    means[l] = typed[l] > 0 ? sum / typed[l] : 0;
  }
}

// AI of individual k: its log terms less its sample's means, over its typed loci.
Real assignment_index(const AssignmentTerms& x, int32_t k, const Real* means) {
  const size_t row = static_cast<size_t>(k) * static_cast<size_t>(x.nl);
  Real ai = 0;
  for (int32_t l = 0; l < x.nl; ++l)
    if (x.typed[row + static_cast<size_t>(l)]) ai += x.log_term[row + static_cast<size_t>(l)] - means[l];
  return ai;
}

}  // namespace

AssignmentTerms assignment_terms(const IndexedSet& pooled, const CountTables& tables) {
  AssignmentTerms x;
  x.np = pooled.np;
  x.nl = pooled.nl;
  x.ni = pooled.ni;
  x.cumulative = pooled.cumulative;
  const size_t cells = static_cast<size_t>(pooled.ni) * static_cast<size_t>(pooled.nl);
  x.log_term.assign(cells, 0);
  x.typed.assign(cells, 0);
  x.typed_count.assign(static_cast<size_t>(pooled.np) * static_cast<size_t>(pooled.nl), 0);
  for (int32_t s = 1; s <= pooled.np; ++s) {
    const size_t column = static_cast<size_t>(s) - 1;
    for (int32_t l = 0; l < pooled.nl; ++l)
      x.typed_count[column * static_cast<size_t>(x.nl) + static_cast<size_t>(l)] =
          tables.typed[static_cast<size_t>(l) * static_cast<size_t>(tables.np) + column];
    for (int32_t k = pooled.cumulative[column]; k < pooled.cumulative[column + 1]; ++k)
      for (int32_t l = 0; l < pooled.nl; ++l) {
        const size_t cell = static_cast<size_t>(k) * static_cast<size_t>(x.nl) + static_cast<size_t>(l);
        const int32_t a = pooled.first_allele[cell], b = pooled.second_allele[cell];
        if (a < 0) continue;
        const Real twice_n = 2 * static_cast<Real>(tables.typed[static_cast<size_t>(l) * static_cast<size_t>(tables.np) + column]);
        const Real pa = tables.copies[static_cast<size_t>(a) * static_cast<size_t>(tables.np) + column] / twice_n;
        const Real pb = tables.copies[static_cast<size_t>(b) * static_cast<size_t>(tables.np) + column] / twice_n;
        x.typed[cell] = 1;
        x.log_term[cell] = a == b ? 2 * std::log(pa) : std::log(2 * pa * pb);
      }
  }
  return x;
}

AssignmentStatistics assignment_statistics(const AssignmentTerms& x, const int32_t* order,
                                           const std::vector<int32_t>& phil_sizes, Real* sums) {
  SexSums phil, disp;
  for (int32_t s = 1; s <= x.np; ++s) {
    sample_means(x, s, order, sums);
    const int32_t first = x.cumulative[static_cast<size_t>(s) - 1];
    for (int32_t pos = first; pos < x.cumulative[static_cast<size_t>(s)]; ++pos) {
      const Real ai = assignment_index(x, order[pos], sums);
      (pos - first < phil_sizes[static_cast<size_t>(s)] ? phil : disp).add(ai);
    }
  }
  AssignmentStatistics r;
  r.phil = phil.result();
  r.disp = disp.result();
  if (r.phil.var && r.disp.var)
    r.t = ratio(*r.phil.mean - *r.disp.mean,
                std::sqrt(*r.disp.var / static_cast<Real>(r.disp.n) + *r.phil.var / static_cast<Real>(r.phil.n)));
  return r;
}

}  // namespace torvi::dispersal
