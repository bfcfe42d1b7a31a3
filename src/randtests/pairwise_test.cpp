#include "randtests/pairwise_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "data/data_reader.h"
#include "randtests/g_statistics.h"
#include "randtests/progress.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Counts of one sample of the pair: typed individuals per locus [1..nl] and
// allele copies per AlleleIndex slot.
struct PairCounts {
  const int32_t* first;  // AlleleIndex::first
  std::vector<int32_t> typed, alleles;
  explicit PairCounts(const AlleleIndex& ix)
      : first(ix.first.data()), typed(static_cast<size_t>(ix.nl) + 1), alleles(static_cast<size_t>(ix.total_slots())) {}

  // Into the count tables of sample s (typed and allele counts only).
  void store(CountTables& ct, int s) const {
    for (int l = 1; l <= ct.nl; ++l) {
      ct.typed(s, l) = typed[static_cast<size_t>(l)];
      long double* row = ct.allele_row(s, l);
      for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) row[j] = alleles[static_cast<size_t>(first[l] + j)];
    }
  }
};

// The individuals of the pair being tested, positions 1..n_i for the first
// sample and n_i+1..n_i+n_j for the second: at every locus the allele slots
// of the genotype (-1 when untyped), and whether the individual is complete.
// Allocated once per test for the two largest samples.
class PairCopy {
 public:
  PairCopy(int positions, int nl)
      : nl_(nl), slots_(static_cast<size_t>(positions + 1) * nl * 2), complete_(static_cast<size_t>(positions) + 1) {}

  // Copies the individuals of sample s in file order after the current ones;
  // returns how many were found.
  int append_sample(const DataSet& ds, const AlleleIndex& ix, int s) {
    int found = 0;
    for (int i = 1; i <= ds.ni; ++i) {
      if (ds.sample_of[i] != s) continue;
      ++used_;
      ++found;
      int16_t* row = at(used_);
      for (int l = 1; l <= nl_; ++l) {
        const int32_t code = ds.geno(l, i);
        row[2 * (l - 1)] = code == 0 ? -1 : static_cast<int16_t>(ix.slot(l, code / ds.coding_base) - ix.first[l]);
        row[2 * (l - 1) + 1] = code == 0 ? -1 : static_cast<int16_t>(ix.slot(l, code % ds.coding_base) - ix.first[l]);
      }
      complete_[static_cast<size_t>(used_)] = ds.missing_count[i] == 0;
    }
    return found;
  }
  void clear() { used_ = 0; }
  // Takes the arrangement of `other` (same capacity).
  void copy_rows(const PairCopy& other) {
    used_ = other.used_;
    std::copy_n(other.slots_.begin(), static_cast<size_t>(used_ + 1) * nl_ * 2, slots_.begin());
  }
  int used() const { return used_; }

  void shuffle(Rng& rng) {
    shuffle_complete(
        used_, [&](int p) { return complete_[static_cast<size_t>(p)] != 0; },
        [&](int a, int b) { std::swap_ranges(at(a), at(a) + 2 * nl_, at(b)); }, rng);
  }

  // Typed and allele counts of positions from..to.
  void count(PairCounts& c, int from, int to) const {
    std::fill(c.typed.begin(), c.typed.end(), 0);
    std::fill(c.alleles.begin(), c.alleles.end(), 0);
    for (int p = from; p <= to; ++p) {
      const int16_t* row = at(p);
      for (int l = 1; l <= nl_; ++l) {
        const int16_t a = row[2 * (l - 1)];
        if (a < 0) continue;
        ++c.typed[static_cast<size_t>(l)];
        int32_t* counts = &c.alleles[static_cast<size_t>(c.first[l])];
        ++counts[a];
        ++counts[row[2 * (l - 1) + 1]];
      }
    }
  }

 private:
  int16_t* at(int p) { return &slots_[static_cast<size_t>(p) * nl_ * 2]; }
  const int16_t* at(int p) const { return &slots_[static_cast<size_t>(p) * nl_ * 2]; }

  int nl_;
  int used_ = 0;
  std::vector<int16_t> slots_;
  std::vector<uint8_t> complete_;
};

const char* mark(int64_t at_least, int64_t n, int64_t pairs) {
  // P = (at_least + 1) / N against 0.001/K, 0.01/K and 0.05/K, in integers.
  const int64_t scaled = pairs * (at_least + 1);
  if (1000 * scaled <= n) return "    ***";
  if (100 * scaled <= n) return "     **";
  if (20 * scaled <= n) return "      *";
  return "     NS";
}

}  // namespace

void pairwise_test(RunContext& ctx, Analysis& an) {
  DataSet& ds = an.ds;
  const int np = ds.np;
  if (np < 2) {
    ctx.host.note("Pairwise tests of differentiation not done: they need two samples.");
    return;
  }
  const int64_t pairs = static_cast<int64_t>(np) * (np - 1) / 2;
  const int64_t n = std::max<int64_t>(ctx.nb_perm.perm_pairwise, 20 * pairs);

  if (!read_data_file(ctx.host, an.base_name + ".dat", ds)) {
    ctx.host.note("Pairwise tests of differentiation not done: the data file could not be read again.");
    return;
  }
  count_alleles(ds, an.ct);
  CountTables& ct = an.ct;

  int largest = 0, second = 0;
  for (int s = 1; s <= np; ++s) {
    const int size = ds.size_of_sample(s);
    if (size > largest) {
      second = largest;
      largest = size;
    } else {
      second = std::max(second, size);
    }
  }
  const XLogX xlogx(2 * (largest + second));
  PairCopy copy(largest + second, ds.nl);

  // Lower half: observed G of the pair; upper half: P-value.
  std::vector<long double> matrix(static_cast<size_t>(np + 1) * (np + 1), 0.0L);
  auto cell = [&](int i, int j) -> long double& { return matrix[static_cast<size_t>(i) * (np + 1) + j]; };
  std::vector<int64_t> at_least(matrix.size(), 0);
  for (int i = 2; i <= np; ++i)
    for (int j = 1; j < i; ++j) cell(i, j) = pair_g(ct, i, j, xlogx);

  struct alignas(64) PairWorker {  // own cache lines: workers write at_least often
    PairCounts a, b;
    int64_t at_least = 0;
  };
  const int threads = std::max(1, ctx.threads);
  const AlleleIndex& ix = *ct.index;
  std::vector<PairWorker> workers(static_cast<size_t>(threads), PairWorker{PairCounts(ix), PairCounts(ix), 0});
  const size_t copy_bytes = static_cast<size_t>(largest + second + 1) * ds.nl * 4 + 1;
  const int64_t batch = std::max<int64_t>(1, std::min<int64_t>({n - 1, 1024, static_cast<int64_t>((16u << 20) / copy_bytes)}));
  std::vector<PairCopy> permuted(static_cast<size_t>(batch), copy);
  {
    Progress progress(ctx.host, n * pairs);
    for (int i = 2; i <= np; ++i) {
      const int ni = ds.size_of_sample(i);
      if (ni == 0) continue;
      for (int j = 1; j < i; ++j) {
        const int nj = ds.size_of_sample(j);
        if (nj == 0) continue;
        copy.clear();
        const int found_i = copy.append_sample(ds, *ct.index, i);
        const int found_j = copy.append_sample(ds, *ct.index, j);
        for (auto [found, expected] : {std::pair{found_i, ni}, std::pair{found_j, nj}})
          if (found != expected)
            ctx.host.show_info("Pb here" + std::to_string(found) + "---" + std::to_string(expected));
        int64_t& count = at_least[static_cast<size_t>(j) * (np + 1) + i];
        if (ds.complete_count[i] > 1 && ds.complete_count[j] > 1) {
          // The permutations follow one another on this thread; the
          // statistics of a batch of them are computed by the workers.
          const long double observed = cell(i, j);
          for (int64_t k0 = 1; k0 <= n - 1; k0 += batch) {
            const int64_t size = std::min(batch, n - k0);
            for (int64_t b = 0; b < size; ++b) {
              copy.shuffle(ctx.rng);
              permuted[static_cast<size_t>(b)].copy_rows(copy);
            }
            parallel_shares(threads, size, [&](int64_t begin, int64_t end, int wi) {
              PairWorker& w = workers[static_cast<size_t>(wi)];
              int64_t reached = 0;
              for (int64_t b = begin; b < end; ++b) {
                progress.step();
                const PairCopy& p = permuted[static_cast<size_t>(b)];
                p.count(w.a, 1, found_i);
                p.count(w.b, found_i + 1, p.used());
                const long double g =
                    pair_g_counts(ix, w.a.typed.data(), w.b.typed.data(), w.a.alleles.data(), w.b.alleles.data(), xlogx);
                if (g >= observed - 1e-7L) ++reached;
              }
              w.at_least += reached;
            });
          }
          for (PairWorker& w : workers) {
            count += w.at_least;
            w.at_least = 0;
          }
          // The tables hold the last permutation of the pair.
          PairWorker& w = workers.front();
          copy.count(w.a, 1, found_i);
          copy.count(w.b, found_i + 1, copy.used());
          w.a.store(ct, i);
          w.b.store(ct, j);
        }
        cell(j, i) = static_cast<long double>(count + 1) / n;
      }
    }
  }

  // Observed G at most 1e-7, or a sample with fewer than two complete
  // individuals: no test.
  auto tested = [&](int i, int j) {
    return cell(j, i) > 1e-7L && ds.complete_count[i] >= 2 && ds.complete_count[j] >= 2;
  };
  // Names are set by the per-locus report; a caller that skipped it gets empty ones.
  auto name = [&](int s) { return static_cast<size_t>(s) < ds.sample_names.size() ? ds.sample_names[s] : std::string(); };
  ReportText out;
  auto header = [&] {
    for (int s = 2; s <= np; ++s) out.cell(name(s));
    out.eol();
  };
  auto rows = [&](auto&& text) {
    for (int i = 1; i <= np - 1; ++i) {
      out << name(i) << std::string(static_cast<size_t>(i - 1), col_sep);
      for (int j = i + 1; j <= np; ++j) out.cell(tested(i, j) ? text(i, j) : std::string(kNA7));
      out.eol();
    }
  };
  header();
  rows([&](int i, int j) { return fixed(cell(i, j), 7, 5); });
  out.line();
  out.line("P-values obtained after : " + integer(n, 8) + " permutations");
  out.line("Indicative adjusted nominal level (5%) for multiple comparisons is : " +
           fixed(0.1L / np / (np - 1), 10, 6));
  out.line();
  header();
  rows([&](int i, int j) { return std::string(mark(at_least[static_cast<size_t>(i) * (np + 1) + j], n, pairs)); });
  out.write_new(an.base_name + "-pp.pvl");
}

}  // namespace torvi
