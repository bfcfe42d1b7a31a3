#include "data/data_summary_text.h"

#include <cstdio>
#include <filesystem>

namespace torvi {

namespace {

std::string rate_text(const std::optional<double>& rate) {
  if (!rate) return "NA";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f%%", *rate * 100.0);
  return text;
}

template <class... Args>
std::string line(const char* format, Args... args) {
  char text[160];
  std::snprintf(text, sizeof text, format, args...);
  return std::string(text) + "\n";
}

std::string overview(const DataSummary& sum) {
  std::string out = std::filesystem::path(sum.path).filename().string() + " (" + sum.path + ")\n";
  out += line("  %d samples, %d loci, %d individuals; alleles written with %d digit%s, numbers up to %d", sum.np,
              sum.nl, sum.individuals, sum.allele_digits, sum.allele_digits == 1 ? "" : "s", sum.nu);
  out += line("  missing genotypes: %lld of %lld (%s)", static_cast<long long>(sum.missing_genotypes),
              static_cast<long long>(sum.individuals) * sum.nl, rate_text(sum.missing_rate()).c_str());
  return out;
}

std::string sample_table(const DataSummary& sum) {
  std::string out = "\n  Sample  Individuals  Missing\n";
  for (int s = 1; s <= sum.np; ++s)
    out += line("  %6d  %11d  %7s", s, sum.samples[static_cast<size_t>(s) - 1].individuals,
                rate_text(sum.sample_missing_rate(s)).c_str());
  return out;
}

std::string locus_table(const DataSummary& sum) {
  std::string out = "\n  Locus   Alleles  Range      Typed  Missing\n";
  for (int l = 1; l <= sum.nl; ++l) {
    const LocusSummary& loc = sum.loci[static_cast<size_t>(l) - 1];
    std::string range = loc.alleles_present == 0
                            ? "-"
                            : std::to_string(loc.smallest_allele) + "-" + std::to_string(loc.largest_allele);
    out += line("  %-6s  %7d  %-7s  %7d  %7s", loc.name.c_str(), loc.alleles_present, range.c_str(),
                loc.typed_individuals, rate_text(sum.locus_missing_rate(l)).c_str());
  }
  return out;
}

std::string warnings(const DataSummary& sum) {
  std::string out = "\n  Loci monomorphic in every sample:";
  const std::vector<int> mono = sum.monomorphic_loci();
  if (mono.empty()) out += " none";
  for (int l : mono) out += " " + sum.loci[static_cast<size_t>(l) - 1].name;
  out += "\n  Individuals untyped at every locus: " + std::to_string(sum.untyped.size());
  for (size_t k = 0; k < sum.untyped.size() && k < kUntypedListed; ++k)
    out += (k == 0 ? ": " : ", ") + std::to_string(sum.untyped[k].individual) + " (sample " +
           std::to_string(sum.untyped[k].sample) + ")";
  if (sum.untyped.size() > kUntypedListed) out += ", ...";
  return out + "\n";
}

}  // namespace

std::string data_summary_text(const DataSummary& sum) {
  return overview(sum) + sample_table(sum) + locus_table(sum) + warnings(sum);
}

}  // namespace torvi
