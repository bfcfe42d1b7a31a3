#include "data/data_summary.h"

#include <algorithm>
#include <fstream>

#include "data/data_reader.h"

namespace torvi {

namespace {

std::optional<double> share(int64_t part, int64_t whole) {
  if (whole <= 0) return std::nullopt;
  return static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

std::optional<double> DataSummary::missing_rate() const {
  return share(missing_genotypes, static_cast<int64_t>(individuals) * nl);
}

std::optional<double> DataSummary::sample_missing_rate(int s) const {
  const SampleSummary& sample = samples[static_cast<size_t>(s) - 1];
  return share(sample.missing_genotypes, static_cast<int64_t>(sample.individuals) * nl);
}

std::optional<double> DataSummary::locus_missing_rate(int l) const {
  return share(individuals - loci[static_cast<size_t>(l) - 1].typed_individuals, individuals);
}

std::vector<int> DataSummary::monomorphic_loci() const {
  std::vector<int> out;
  for (size_t l = 0; l < loci.size(); ++l)
    if (loci[l].monomorphic_in_every_sample) out.push_back(static_cast<int>(l) + 1);
  return out;
}

SummaryBuilder::SummaryBuilder(const DataSet& header)
    : coding_base_(header.coding_base),
      present_(static_cast<size_t>(header.nl) * (static_cast<size_t>(header.nu) + 1), 0),
      sample_allele_(static_cast<size_t>(header.np) * header.nl, kNoAllele) {
  sum_.np = header.np;
  sum_.nl = header.nl;
  sum_.nu = header.nu;
  sum_.allele_digits = header.allele_digits;
  sum_.samples.resize(static_cast<size_t>(header.np));
  sum_.loci.resize(static_cast<size_t>(header.nl));
  for (int l = 1; l <= header.nl && static_cast<size_t>(l) < header.locus_names.size(); ++l)
    sum_.loci[static_cast<size_t>(l) - 1].name = header.locus_names[static_cast<size_t>(l)];
}

void SummaryBuilder::note_allele(int sample, int locus, int allele) {
  LocusSummary& loc = sum_.loci[static_cast<size_t>(locus)];
  uint8_t& seen = present_[static_cast<size_t>(locus) * (static_cast<size_t>(sum_.nu) + 1) +
                           static_cast<size_t>(allele)];
  if (!seen) {
    seen = 1;
    ++loc.alleles_present;
    loc.smallest_allele = loc.smallest_allele == 0 ? allele : std::min(loc.smallest_allele, allele);
    loc.largest_allele = std::max(loc.largest_allele, allele);
  }
  int16_t& only = sample_allele_[static_cast<size_t>(sample - 1) * sum_.nl + static_cast<size_t>(locus)];
  if (only == kNoAllele)
    only = static_cast<int16_t>(allele);
  else if (only != allele)
    only = kSeveralAlleles;
}

void SummaryBuilder::add(int32_t sample, const int32_t* codes) {
  ++sum_.individuals;
  SampleSummary& s = sum_.samples[static_cast<size_t>(sample) - 1];
  ++s.individuals;
  int missing = 0;
  for (int l = 0; l < sum_.nl; ++l) {
    const int32_t g = codes[l];
    if (g == 0) {
      ++missing;
      continue;
    }
    ++sum_.loci[static_cast<size_t>(l)].typed_individuals;
    note_allele(sample, l, g / coding_base_);
    note_allele(sample, l, g % coding_base_);
  }
  s.missing_genotypes += missing;
  sum_.missing_genotypes += missing;
  if (missing == sum_.nl && sum_.nl > 0) sum_.untyped.push_back({sum_.individuals, sample});
}

DataSummary SummaryBuilder::finish(std::string path) {
  for (int l = 0; l < sum_.nl; ++l) {
    bool one_each = sum_.loci[static_cast<size_t>(l)].typed_individuals > 0;
    for (int s = 0; s < sum_.np && one_each; ++s)
      one_each = sample_allele_[static_cast<size_t>(s) * sum_.nl + static_cast<size_t>(l)] != kSeveralAlleles;
    sum_.loci[static_cast<size_t>(l)].monomorphic_in_every_sample = one_each;
  }
  sum_.path = std::move(path);
  return std::move(sum_);
}

bool summarise_data_file(Host& host, const std::string& path, DataSummary& out) {
  DataSet ds;
  if (!check_header(host, path, ds)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    host.show_error("Cannot open the data file " + path);
    return false;
  }
  // The builder is sized from the full read's own header, checked against
  // the limits before the first record reaches it.
  std::optional<SummaryBuilder> builder;
  auto sink = [&](int32_t s, const int32_t* codes) {
    if (!builder) builder.emplace(ds);
    builder->add(s, codes);
  };
  if (!read_data_records(host, in, path, ds, sink)) return false;
  if (!builder) builder.emplace(ds);
  out = builder->finish(path);
  return true;
}

DataSummary summarise_data_set(const DataSet& ds, const std::string& path) {
  SummaryBuilder builder(ds);
  for (int i = 1; i <= ds.ni; ++i) builder.add(ds.sample_of[static_cast<size_t>(i)], ds.genotypes_of(i));
  return builder.finish(path);
}

}  // namespace torvi
