#include "dispersal/observed_pass.h"

#include <numeric>

#include "dispersal/dispersal_report.h"
#include "dispersal/messages.h"

namespace torvi::dispersal {

namespace {

// The pooled file must hold each sample's philopatric individuals then the
// others, as many of each as their own files.
void check_pooled(const GenotypeSet& phil, const GenotypeSet& disp, const GenotypeSet& pooled,
                  const SplitPaths& paths) {
  bool same = phil.np == pooled.np && disp.np == pooled.np && phil.nl == pooled.nl && disp.nl == pooled.nl;
  for (int32_t s = 1; same && s <= pooled.np; ++s) same = pooled.size_of(s) == phil.size_of(s) + disp.size_of(s);
  if (!same) throw InputRefused(paths.pooled + " does not pool " + paths.phil + " and " + paths.disp);
}

}  // namespace

SetStatistics statistics_of(const GenotypeSet& set) {
  const IndexedSet indexed = index_alleles(set);
  return set_statistics(count_set(indexed), indexed.locus_first, SampleTerms(indexed.largest_sample()));
}

ObservedData observed_pass(const SplitPaths& paths, const TestChoice& choice, char phil_letter, char disp_letter) {
  const GenotypeSet phil = read_set_file(paths.phil);
  const SetStatistics phil_stats = statistics_of(phil);
  const GenotypeSet disp = read_set_file(paths.disp);
  const SetStatistics disp_stats = statistics_of(disp);
  const GenotypeSet pooled = read_set_file(paths.pooled);
  check_pooled(phil, disp, pooled, paths);

  ObservedData d;
  d.pooled = index_alleles(pooled);
  d.pooled_tables = count_set(d.pooled);
  d.sample_terms = SampleTerms(d.pooled.largest_sample());
  const SetStatistics pooled_stats = set_statistics(d.pooled_tables, d.pooled.locus_first, d.sample_terms);
  d.phil_sizes.assign(static_cast<size_t>(pooled.np) + 1, 0);
  for (int32_t s = 1; s <= pooled.np; ++s) d.phil_sizes[static_cast<size_t>(s)] = phil.size_of(s);

  d.phil_stats = phil_stats;
  d.disp_stats = disp_stats;
  d.pooled_stats = pooled_stats;
  set_values(choice, phil_stats, disp_stats, d.values);
  if (choice.any_set_statistic())
    d.res_lines += set_line(phil_letter, phil_stats) + set_line(disp_letter, disp_stats) + overall_line(pooled_stats);
  if (choice.any_assignment()) {
    d.assignment = assignment_terms(d.pooled, d.pooled_tables);
    std::vector<int32_t> file_order(static_cast<size_t>(pooled.ni));
    std::iota(file_order.begin(), file_order.end(), 0);
    std::vector<long double> sums(static_cast<size_t>(pooled.nl));
    const AssignmentStatistics a = assignment_statistics(d.assignment, file_order.data(), d.phil_sizes, sums.data());
    assignment_values(choice, a, d.values);
    d.res_lines += assignment_lines(phil_letter, disp_letter, a);
    d.assignment_stats = a;
  }
  return d;
}

}  // namespace torvi::dispersal
