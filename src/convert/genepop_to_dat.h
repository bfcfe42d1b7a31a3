#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "convert/conversion_progress.h"
#include "convert/text_sink.h"

namespace torvi {

// What a first reading of a whole Genepop file learns.
struct GenepopSurvey {
  int64_t np = 0;  // samples
  int nl = 0;      // loci
  int nu = 0;      // largest allele met, over both alleles of every genotype
  int allele_digits = 0;
  int64_t records = 0;
  std::vector<std::string> locus_names;
};

// Reads and checks the whole file. False with the message in `error`.
// `progress` (may be null) advances by the bytes read.
bool survey_genepop(std::istream& in, const std::string& path, GenepopSurvey& survey, std::string& error,
                    ConversionProgress* progress = nullptr, int64_t progress_base = 0);

// Reads the surveyed file again and writes its data file: the first line,
// the locus names, then per individual the sample number in width 4 and a
// blank, and each genotype as its number in width 6 followed by a blank.
bool write_data_file(std::istream& in, const std::string& path, const GenepopSurvey& survey, TextSink& out,
                     std::string& error, ConversionProgress* progress = nullptr, int64_t progress_base = 0);

}  // namespace torvi
