#include "stats/bootstrap_loci.h"

#include <string>
#include <vector>

#include "report/report_text.h"
#include "util/parallel.h"
#include "util/sort_reals.h"
#include "util/split_real.h"

namespace torvi {

namespace {

constexpr int kReplicates = 50000;
// Ranks of the sorted replicates that bound the 95% and 99% intervals.
constexpr int kLow95 = kReplicates / 40, kHigh95 = kReplicates - kLow95;
constexpr int kLow99 = kReplicates / 200, kHigh99 = kReplicates - kLow99;

// The six component sums of a replicate, in single precision: each addition
// is formed in extended precision and its result rounded to single.
struct FloatSums {
  float ab = 0, abc = 0, a = 0, b = 0, bc = 0, c = 0;
  template <class Sums>
  void add(const Sums& s) {
    ab = static_cast<float>(ab + value(s.ab));
    abc = static_cast<float>(abc + value(s.abc));
    a = static_cast<float>(a + value(s.a));
    b = static_cast<float>(b + value(s.b));
    bc = static_cast<float>(bc + value(s.bc));
    c = static_cast<float>(c + value(s.c));
  }
  static long double value(long double x) { return x; }
  static long double value(const SplitReal& x) { return x.value(); }
};

// A locus's six sums as split reals, which the replicates load faster.
struct SplitSums {
  SplitReal ab, abc, a, b, bc, c;
};

// Replicates begin..end-1, replicate j drawing from `first` advanced by
// (j - begin) * nl: each sums the components of nl loci drawn with
// replacement and is handed to done(j, sums). The draws of one stream form
// a chain (each state comes from the one before), so several replicates are
// drawn side by side from streams of their own: the same draws, with their
// chains overlapping.
template <class Sums, class Done>
void draw_replicates(const std::vector<Sums>& locus, int nl, const Rng& first, int64_t begin, int64_t end,
                     Done&& done) {
  constexpr int kSideBySide = 4;
  const auto per = static_cast<uint64_t>(nl);
  const Rng::Stride next_group = Rng::stride(per * (kSideBySide - 1));
  Rng rng[kSideBySide];
  for (int i = 0; i < kSideBySide; ++i) rng[i] = first.jumped(per * static_cast<uint64_t>(i));
  int64_t j = begin;
  std::vector<const Sums*> drawn(static_cast<size_t>(nl) * kSideBySide);
  for (; j + kSideBySide <= end; j += kSideBySide) {
    // The loci first, then their sums: each loop keeps to its own kind of
    // arithmetic.
    for (int d = 0; d < nl; ++d)
      for (int i = 0; i < kSideBySide; ++i) drawn[static_cast<size_t>(d) * kSideBySide + i] = &locus[1 + rng[i].rnd_int(nl)];
    FloatSums s[kSideBySide];
    for (int d = 0; d < nl; ++d)
      for (int i = 0; i < kSideBySide; ++i) s[i].add(*drawn[static_cast<size_t>(d) * kSideBySide + i]);
    for (int i = 0; i < kSideBySide; ++i) {
      done(j + i, s[i]);
      rng[i].jump(next_group);
    }
  }
  for (; j < end; ++j) {  // the rest one at a time, from the first stream
    FloatSums s;
    for (int d = 0; d < nl; ++d) s.add(locus[1 + rng[0].rnd_int(nl)]);
    done(j, s);
  }
}

// The four arrays of replicate statistics, 1-based as sort_reals takes them.
struct Replicates {
  std::vector<long double> F, theta, f, R;
  std::vector<uint8_t> accepted;  // of the candidates of the current round
  Replicates()
      : F(kReplicates + 1), theta(kReplicates + 1), f(kReplicates + 1), R(kReplicates + 1), accepted(kReplicates) {}
  void move(int from, int to) {
    F[to] = F[from];
    theta[to] = theta[from];
    f[to] = f[from];
    R[to] = R[from];
  }
};

void interval_lines(ReportText& out, const Replicates& rep, int lower, int upper, bool drawn) {
  out << "\t\t  CapF\t theta\tSmallf\t Relat";
  out.eol();
  for (int slot : {lower, upper}) {
    out << '\t';
    for (const std::vector<long double>* v : {&rep.F, &rep.theta, &rep.f, &rep.R})
      out.cell(drawn ? fixed(static_cast<float>((*v)[slot]), 6, 3) : kNA6);
    out.eol();
  }
}

// A replicate needs sum(a+b+c) and sum(b+c) non-zero: impossible when every
// locus has one of them at 0.
bool replicates_possible(const std::vector<WcSums>& locus, int nl) {
  bool any_abc = false, any_bc = false;
  for (int l = 1; l <= nl; ++l) {
    any_abc = any_abc || locus[l].abc != 0;
    any_bc = any_bc || locus[l].bc != 0;
  }
  return any_abc && any_bc;
}

// The sums as split reals when every one splits exactly, else none.
std::vector<SplitSums> split_sums(const std::vector<WcSums>& locus) {
  std::vector<SplitSums> split(locus.size());
  for (size_t l = 1; l < locus.size() && !split.empty(); ++l) {
    const WcSums& x = locus[l];
    for (long double v : {x.ab, x.abc, x.a, x.b, x.bc, x.c})
      if (!SplitReal::exact(v)) split.clear();
    if (!split.empty())
      split[l] = {SplitReal::of(x.ab), SplitReal::of(x.abc), SplitReal::of(x.a), SplitReal::of(x.b),
                  SplitReal::of(x.bc), SplitReal::of(x.c)};
  }
  return split;
}

// kReplicates accepted replicates, sorted. Replicate j (0-based, discarded
// ones included) takes draws j*nl .. (j+1)*nl-1 of the stream. Each round
// computes as many candidates as replicates are missing, in parallel, into
// the slots after the accepted ones; they are then accepted in order,
// exactly as one stream would.
void draw_accepted(Rng& rng, int threads, const std::vector<WcSums>& locus, int nl, Replicates& rep) {
  const std::vector<SplitSums> split = split_sums(locus);
  const Rng start = rng;
  int accepted = 0;
  uint64_t consumed = 0;
  while (accepted < kReplicates) {
    const int round = kReplicates - accepted;
    const uint64_t round_start = consumed;
    parallel_shares(threads, round, [&](int64_t begin, int64_t end, int) {
      Rng first = start.jumped((round_start + static_cast<uint64_t>(begin)) * static_cast<uint64_t>(nl));
      auto done = [&](int64_t j, const FloatSums& s) {
        const int slot = accepted + 1 + static_cast<int>(j);
        rep.accepted[j] = s.abc != 0 && s.bc != 0;
        if (!rep.accepted[j]) return;
        const long double ab = s.ab, abc = s.abc, a = s.a, b = s.b, bc = s.bc, c = s.c;
        rep.F[slot] = ab / abc;
        rep.theta[slot] = a / abc;
        rep.f[slot] = b / bc;
        rep.R[slot] = 2 * a / (2 * ab + c);
      };
      if (split.empty())
        draw_replicates(locus, nl, first, begin, end, done);
      else
        draw_replicates(split, nl, first, begin, end, done);
    });
    const int before = accepted;
    for (int j = 0; j < round; ++j) {
      if (!rep.accepted[j]) continue;
      ++accepted;
      rep.move(before + 1 + j, accepted);
    }
    // Every candidate of the round is consumed: the round's last candidate
    // is either accepted as the last replicate or the round ends short.
    consumed += static_cast<uint64_t>(round);
  }
  rng = start.jumped(consumed * static_cast<uint64_t>(nl));
  for (std::vector<long double>* v : {&rep.F, &rep.theta, &rep.f, &rep.R}) sort_reals(v->data(), 1, kReplicates);
}

void write_bootstrap(const Replicates& rep, bool drawn, const std::string& result_name) {
  ReportText out;
  out.line().line(kStars48).cell("         Bootstrapping over Loci.").eol().line();
  out.cell("         95% Confidence Interval.").eol().line();
  interval_lines(out, rep, kLow95, kHigh95, drawn);
  out.line().cell("         99% Confidence Interval.").eol().line();
  interval_lines(out, rep, kLow99, kHigh99, drawn);
  out.line();
  out.append_to(result_name);
}

}  // namespace

void bootstrap_loci(RunContext& ctx, Analysis& an) {
  const int nl = an.ds.nl;
  const std::vector<WcSums>& locus = an.wc.locus_sums;
  const bool drawn = replicates_possible(locus, nl);
  Replicates rep;
  if (drawn) draw_accepted(ctx.rng, ctx.threads, locus, nl, rep);
  write_bootstrap(rep, drawn, ctx.result_name);
}

}  // namespace torvi
