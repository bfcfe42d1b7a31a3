#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/line_buffer.h"
#include "convert/text_sink.h"

namespace torvi {

// The start of a Genepop file written from a data file: the title line with
// np, nl and nu each in width 5, the locus names (locus_names[1..nl]) one per
// line, and the "Pop" line that opens the first sample.
std::string genepop_head(int np, int nl, int nu, const std::vector<std::string>& locus_names);

// Writes the individuals of a data file in Genepop form, one line each:
// "sample S ind#J , " then each genotype as its two alleles in stored order,
// with leading zeros to 2 digits (3 when alleles have 3 digits), and a blank.
// A "Pop" line goes before an individual whose sample number is larger than
// the previous individual's.
class GenepopWriter {
 public:
  GenepopWriter(TextSink& out, int coding_base);
  void individual(int32_t sample, const int32_t* codes, int nl);

 private:
  TextSink& out_;
  int coding_base_;
  int allele_width_;
  int64_t index_ = 0;
  int32_t previous_sample_ = 0;
  LineBuffer line_;
};

}  // namespace torvi
