#include "groups/group_report.h"

#include <array>

#include "report/report_text.h"

namespace torvi {

namespace {

constexpr int kGroupNumberWidth = 3;
constexpr int kValueWidth = 8, kValueDecimals = 3;
constexpr int kPValueWidth = 8, kPValueDecimals = 5;
constexpr int kPermutationsWidth = 6;

// Labels of the statistics in the group lines and in the P-value lines.
constexpr std::array<const char*, kGroupStatistics> kGroupLabels = {
    " Allelic richness: ", " Ho: ", " Hs: ", " Fis: ", " Fst: ", " Rel: ", " Relc: "};
constexpr std::array<const char*, kGroupStatistics> kPValueLabels = {
    " Allelic Richness: ", "               Ho: ", "               Hs: ", "              Fis: ",
    "              Fst: ", "              Rel: ", "             Relc: "};

}  // namespace

std::string group_section_text(const GroupComparison& comparison, const GroupTest& test,
                               const std::vector<std::string>& sample_names) {
  ReportText out;
  for (size_t g = 0; g < comparison.groups.size(); ++g) {
    const int number = static_cast<int>(g) + 1;
    out << "Samples of group " << integer(number, kGroupNumberWidth) << " (G" << integer(number) << ") : ";
    for (int s : comparison.groups[g]) out << sample_names[static_cast<size_t>(s)] << ", ";
    out.eol();
    for (int i = 0; i < kGroupStatistics; ++i) {
      if (!comparison.statistics[i]) continue;
      out << kGroupLabels[i] << (test.compared[i] ? fixed(test.observed[g][i], kValueWidth, kValueDecimals) : kNA8);
    }
    out.eol();
  }
  return out.line().str();
}

std::string p_value_section_text(const GroupComparison& comparison, const GroupTest& test) {
  ReportText out;
  const std::string n = integer(comparison.permutations, kPermutationsWidth);
  if (comparison.one_sided && comparison.groups.size() == 2)
    out.line("The one-sided P-values (G1>G2) obtained after " + n + " permutations are : ");
  else
    out.line("The two-sided P-values obtained after " + n + " permutations are : ");
  for (int i = 0; i < kGroupStatistics; ++i) {
    if (!comparison.statistics[i]) continue;
    const long double p = group_p_value(test, i, comparison.permutations);
    out.line(kPValueLabels[i] + (test.compared[i] ? fixed(p, kPValueWidth, kPValueDecimals) : std::string(kNA8)));
  }
  return out.str();
}

}  // namespace torvi
