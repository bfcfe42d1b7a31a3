#include "randtests/cell_terms.h"

namespace torvi {

CellTerms::AlleleTerms CellTerms::allele_terms(int n, int c) {
  const long double nn = n;
  const long double p = static_cast<long double>(c) / (2 * nn);
  return {nn * p, nn * p * p};
}

long double CellTerms::het_term(int n, int x) {
  const long double nn = n;
  const long double h = static_cast<long double>(x) / nn;
  return nn * h;
}

CellTerms::CellTerms(const CountTables& ct, int first, int last, size_t table_budget)
    : loci_(static_cast<size_t>(ct.nl) + 1) {
  std::vector<int> sizes;
  for (int l = 1; l <= ct.nl; ++l) {
    Locus& locus = loci_[l];
    locus.k = ct.index->alleles_at_locus(l);
    locus.begin = static_cast<int>(samples_.size());
    for (int s = first; s <= last; ++s) {
      const int n = ct.typed(s, l);
      if (n == 0) continue;
      const long double nn = n;
      locus.S1 += nn;
      locus.S2 += nn * nn;
      samples_.push_back({n, ct.row(s, l)});
      sizes.push_back(n);
    }
    locus.end = static_cast<int>(samples_.size());
  }
  allele_tables_ = SizeTables<AlleleTerms>(sizes, 2, allele_terms, table_budget);
  het_tables_ = SizeTables<long double>(sizes, 1, het_term, table_budget);
  for (TypedSample& t : samples_) {
    t.alleles = allele_tables_.row(t.n);
    t.hets = het_tables_.row(t.n);
  }
}

void CellTerms::allele_sums(int l, const int32_t* counts, long double* n_p, long double* n_p_p) const {
  const Locus& locus = loci_[l];
  const TypedSample* begin = samples_.data() + locus.begin;
  const TypedSample* end = samples_.data() + locus.end;
  for (int j = 0; j < locus.k; ++j) {
    long double sum = 0, sum_sq = 0;
    for (const TypedSample* t = begin; t != end; ++t) {
      const int c = counts[t->row + j];
      const AlleleTerms e = t->alleles ? t->alleles[c] : allele_terms(t->n, c);
      sum += e.n_p;
      sum_sq += e.n_p_p;
    }
    n_p[j] = sum;
    n_p_p[j] = sum_sq;
  }
}

void CellTerms::het_sums(int l, const int32_t* hets, long double* n_h) const {
  const Locus& locus = loci_[l];
  const TypedSample* begin = samples_.data() + locus.begin;
  const TypedSample* end = samples_.data() + locus.end;
  for (int j = 0; j < locus.k; ++j) {
    long double sum = 0;
    for (const TypedSample* t = begin; t != end; ++t) {
      const int x = hets[t->row + j];
      sum += t->hets ? t->hets[x] : het_term(t->n, x);
    }
    n_h[j] = sum;
  }
}

}  // namespace torvi
