#include "randtests/cell_terms.h"

#include <algorithm>

namespace torvi {

namespace {

// Above this many entries the terms are computed rather than tabulated.
constexpr size_t kMaxEntries = size_t{1} << 20;

long double allele_frequency(int n, int c) {
  const long double nn = n;
  return static_cast<long double>(c) / (2 * nn);
}

}  // namespace

long double CellTerms::compute_n_p(int n, int c) {
  const long double nn = n;
  return nn * allele_frequency(n, c);
}

long double CellTerms::compute_n_p_p(int n, int c) {
  const long double nn = n;
  const long double p = allele_frequency(n, c);
  return nn * p * p;
}

long double CellTerms::compute_n_h(int n, int x) {
  const long double nn = n;
  const long double h = static_cast<long double>(x) / nn;
  return nn * h;
}

CellTerms::CellTerms(const CountTables& ct, int first, int last) : loci_(static_cast<size_t>(ct.nl) + 1) {
  int largest = 0;
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
      largest = std::max(largest, n);
    }
    locus.end = static_cast<int>(samples_.size());
  }

  // Where each size's terms begin, if the tables stay small.
  std::vector<size_t> allele_at(static_cast<size_t>(largest) + 1, 0), het_at(allele_at.size(), 0);
  std::vector<char> present(allele_at.size(), 0);
  size_t alleles = 0, hets = 0;
  for (const TypedSample& t : samples_)
    if (!present[t.n]) {
      present[t.n] = 1;
      allele_at[t.n] = alleles;
      het_at[t.n] = hets;
      alleles += 2 * static_cast<size_t>(t.n) + 1;
      hets += static_cast<size_t>(t.n) + 1;
    }
  if (alleles + hets > kMaxEntries) return;

  tabulated_ = true;
  allele_terms_.resize(alleles);
  het_terms_.resize(hets);
  for (int n = 1; n <= largest; ++n) {
    if (!present[n]) continue;
    for (int c = 0; c <= 2 * n; ++c) allele_terms_[allele_at[n] + c] = {compute_n_p(n, c), compute_n_p_p(n, c)};
    for (int x = 0; x <= n; ++x) het_terms_[het_at[n] + x] = compute_n_h(n, x);
  }
  for (TypedSample& t : samples_) {
    t.alleles = &allele_terms_[allele_at[t.n]];
    t.hets = &het_terms_[het_at[t.n]];
  }
}

void CellTerms::allele_sums(int l, const int32_t* counts, long double* n_p, long double* n_p_p) const {
  const Locus& locus = loci_[l];
  const TypedSample* begin = samples_.data() + locus.begin;
  const TypedSample* end = samples_.data() + locus.end;
  for (int j = 0; j < locus.k; ++j) {
    long double sum = 0, sum_sq = 0;
    if (tabulated_)
      for (const TypedSample* t = begin; t != end; ++t) {
        const AlleleTerms& e = t->alleles[counts[t->row + j]];
        sum += e.n_p;
        sum_sq += e.n_p_p;
      }
    else
      for (const TypedSample* t = begin; t != end; ++t) {
        sum += compute_n_p(t->n, counts[t->row + j]);
        sum_sq += compute_n_p_p(t->n, counts[t->row + j]);
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
    if (tabulated_)
      for (const TypedSample* t = begin; t != end; ++t) sum += t->hets[hets[t->row + j]];
    else
      for (const TypedSample* t = begin; t != end; ++t) sum += compute_n_h(t->n, hets[t->row + j]);
    n_h[j] = sum;
  }
}

}  // namespace torvi
