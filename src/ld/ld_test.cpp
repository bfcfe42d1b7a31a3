#include "ld/ld_test.h"

#include "host/progress.h"
#include "ld/genotypes.h"
#include "ld/observed_phase.h"
#include "ld/permutation.h"
#include "ld/result_section.h"

namespace torvi {

void ld_test(RunContext& ctx, Analysis& an) {
  LdGenotypes lg(an.ds, *an.alleles);
  LdTestState state = ld_observed_phase(ctx, an, lg);
  const int64_t n_perm = ctx.nb_perm.perm_gen_diseq;
  if (n_perm <= 0) return;
  {
    Progress progress(ctx.host, n_perm);
    ld_permutations(lg, state, n_perm, ctx.rng, ctx.threads, progress);
  }
  ld_result_section(ctx.options, an.ds, state, n_perm).append_to(ctx.result_name);
}

}  // namespace torvi
