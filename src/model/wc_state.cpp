#include "model/wc_state.h"

#include "model/limits.h"

namespace torvi {

void WcState::allocate(const CountTables& ct) {
  const size_t loci = static_cast<size_t>(ct.nl) + 1;
  const size_t slots = static_cast<size_t>(ct.index->total_slots());
  samples_at_locus.assign(loci, ct.np);
  for (auto* v : {&wc_F_allele, &wc_theta_allele, &wc_f_allele, &wc_rel_allele, &pbar, &hbar, &Q})
    v->assign(slots, 0.0L);
  locus_sums.assign(loci, WcSums{});
  for (auto* v : {&wc_F_locus, &wc_theta_locus, &wc_f_locus, &wc_rel_locus, &obs_F_locus, &obs_theta_locus,
                  &obs_f_locus})
    v->assign(loci, na_value);
  nbar.assign(loci, 0.0L);
  S2.assign(loci, 0.0L);
  totals = obs_totals = WcSums{};
  wc_F = wc_theta = wc_f = wc_rel = na_value;
  obs_F = obs_theta = obs_f = na_value;
}

}  // namespace torvi
