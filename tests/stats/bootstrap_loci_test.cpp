#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_text.h"
#include "stats/bootstrap_loci.h"
#include "stats/jackknife.h"
#include "support/analysis_fixture.h"
#include "support/golden.h"

namespace torvi {
namespace {

using namespace torvi::testing;

// An analysis holding only what the bootstrap reads: per-locus sums.
Analysis with_locus_sums(const std::vector<WcSums>& sums) {
  Analysis an;
  an.ds.nl = static_cast<int>(sums.size());
  an.wc.locus_sums.assign(1, WcSums{});
  an.wc.locus_sums.insert(an.wc.locus_sums.end(), sums.begin(), sums.end());
  return an;
}

WcSums sums_of(long double a, long double b, long double c) { return {a + b, a + b + c, a, b, b + c, c}; }

// Loci 1..4 carry nothing, so about a third of the replicates are discarded.
std::vector<WcSums> sparse_loci() {
  return {WcSums{}, WcSums{}, WcSums{}, WcSums{}, sums_of(0.1L, 0.05L, 0.6L), sums_of(0.02L, -0.01L, 0.4L)};
}

std::string interval_lines(const std::vector<long double> (&v)[4], int lo, int hi) {
  std::string out = "\t\t  CapF\t theta\tSmallf\t Relat\r\n";
  for (int slot : {lo, hi}) {
    out += "\t";
    for (const auto& a : v) out += "\t" + fixed(static_cast<float>(a[slot - 1]), 6, 3);
    out += "\r\n";
  }
  return out;
}

TEST(BootstrapLoci, AcceptsReplicatesInStreamOrderWithAnyThreadCount) {
  const std::vector<WcSums> loci = sparse_loci();
  const int nl = static_cast<int>(loci.size());

  // The single stream, replicate after replicate.
  Rng rng(12345, 67890);
  std::vector<long double> v[4];
  while (v[0].size() < 50000) {
    float s[6] = {};
    for (int d = 0; d < nl; ++d) {
      const WcSums& x = loci[rng.rnd_int(nl)];
      const long double add[6] = {x.ab, x.abc, x.a, x.b, x.bc, x.c};
      for (int k = 0; k < 6; ++k) s[k] = static_cast<float>(s[k] + add[k]);
    }
    if (s[1] == 0 || s[4] == 0) continue;
    const long double ab = s[0], abc = s[1], a = s[2], b = s[3], bc = s[4], c = s[5];
    v[0].push_back(ab / abc);
    v[1].push_back(a / abc);
    v[2].push_back(b / bc);
    v[3].push_back(2 * a / (2 * ab + c));
  }
  for (auto& a : v) std::sort(a.begin(), a.end());
  const std::string want = "\r\n" + kStars48 + "\r\n\t         Bootstrapping over Loci.\r\n\r\n" +
                           "\t         95% Confidence Interval.\r\n\r\n" + interval_lines(v, 1250, 48750) +
                           "\r\n\t         99% Confidence Interval.\r\n\r\n" + interval_lines(v, 250, 49750) + "\r\n";

  for (int threads : testing::kThreadCounts) {
    Analysis an = with_locus_sums(loci);
    SectionRun run("boot" + std::to_string(threads));
    run.ctx.threads = threads;
    bootstrap_loci(run.ctx, an);
    EXPECT_EQ(run.result(), want) << threads;
    EXPECT_EQ(run.rng, rng) << threads;
  }
}

TEST(BootstrapLoci, IdenticalLociCollapseBothIntervals) {
  Analysis an = with_locus_sums(std::vector<WcSums>(7, sums_of(0.1L, 0.05L, 0.6L)));
  SectionRun run("boot_same");
  const Rng start = run.rng;
  bootstrap_loci(run.ctx, an);
  const std::string values = "\t\t 0.200\t 0.133\t 0.077\t 0.222\r\n";  // F, theta, f, R of one locus
  std::vector<std::string> lines = lines_of(run.result());
  for (size_t i : {7u, 8u, 13u, 14u}) EXPECT_EQ(lines[i] + "\r\n", values) << i;
  EXPECT_EQ(run.rng, start.jumped(50000ull * 7));
}

TEST(BootstrapLoci, WithoutAnyUsableLocusDrawsNothingAndPrintsNA) {
  // Σ(a+b+c) non-zero somewhere, but Σ(b+c) zero everywhere.
  Analysis an = with_locus_sums({WcSums{}, sums_of(0.1L, 0, 0), WcSums{}, WcSums{}, WcSums{}});
  SectionRun run("boot_na");
  const Rng start = run.rng;
  bootstrap_loci(run.ctx, an);
  std::vector<std::string> lines = lines_of(run.result());
  for (size_t i : {7u, 8u, 13u, 14u}) EXPECT_EQ(lines[i], "\t\t    NA\t    NA\t    NA\t    NA") << i;
  EXPECT_EQ(run.rng, start);
}

}  // namespace
}  // namespace torvi
