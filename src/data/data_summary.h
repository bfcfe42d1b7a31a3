#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "model/data_set.h"

namespace torvi {

// What a data file holds, for a person checking it before an analysis and
// for the header of a results document: how many individuals each sample
// has, how well each locus is typed, and what would make estimates NA.
struct SampleSummary {
  int individuals = 0;
  int64_t missing_genotypes = 0;  // loci x individuals of the sample not typed
};

struct LocusSummary {
  std::string name;
  int alleles_present = 0;    // distinct allele numbers seen at the locus
  int smallest_allele = 0;    // 0 when the locus is typed nowhere
  int largest_allele = 0;
  int typed_individuals = 0;
  bool monomorphic_in_every_sample = false;  // typed somewhere, one allele per sample
};

struct UntypedIndividual {
  int individual = 0;  // in stored order, 1-based
  int sample = 0;
};

struct DataSummary {
  std::string path;
  int np = 0, nl = 0, nu = 0, allele_digits = 0;
  int individuals = 0;
  int64_t missing_genotypes = 0;           // loci x individuals not typed
  std::vector<SampleSummary> samples;      // [0..np-1] for samples 1..np
  std::vector<LocusSummary> loci;          // [0..nl-1] for loci 1..nl
  std::vector<UntypedIndividual> untyped;  // individuals typed at no locus

  // Shares of genotypes not typed; nothing when there is nothing to divide by.
  std::optional<double> missing_rate() const;
  std::optional<double> sample_missing_rate(int s) const;  // s 1-based
  std::optional<double> locus_missing_rate(int l) const;   // l 1-based
  std::vector<int> monomorphic_loci() const;               // 1-based locus numbers
};

// Builds a summary one individual at a time, so that a file can be summarised
// while it is read without holding its genotypes.
class SummaryBuilder {
 public:
  // `header` gives np, nl, nu, allele_digits, coding_base and locus_names.
  explicit SummaryBuilder(const DataSet& header);
  // One individual: its sample (1..np) and its nl genotype codes.
  void add(int32_t sample, const int32_t* codes);
  DataSummary finish(std::string path);

 private:
  enum : int16_t { kNoAllele = 0, kSeveralAlleles = -1 };
  void note_allele(int sample, int locus, int allele);

  DataSummary sum_;
  int coding_base_;
  std::vector<uint8_t> present_;       // [locus][allele], nl x (nu + 1)
  std::vector<int16_t> sample_allele_;  // [sample][locus]: the one allele seen, or a marker
};

// Reads the data file `path` in full, with the reader's checks and messages,
// and summarises it. False after the reader's message when the file is refused.
bool summarise_data_file(Host& host, const std::string& path, DataSummary& out);

// The summary of a data set already read (what a run analyses).
DataSummary summarise_data_set(const DataSet& ds, const std::string& path);

}  // namespace torvi
