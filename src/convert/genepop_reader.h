#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "util/line_reader.h"

namespace torvi {

// Reads a Genepop file: a title line, the locus names (one per line, or
// separated by commas) up to the first line that is "POP" in any case, then
// one record per line: a label ended by a comma and one genotype per locus.
// A record whose first three characters are "pop" in any case starts a new
// sample; its label runs to the next comma, so that it takes in the
// individual that follows. The width of the first genotype (4 or 6 digits)
// fixes the coding. Messages name the file and, where useful, the line.
class GenepopReader {
 public:
  GenepopReader(std::istream& in, std::string path);

  // Skips the title and reads the locus names. False with error() set when
  // no POP line follows them, or when they name no locus or too many.
  bool read_names();

  // Reads the next record. False at the end of the records, with error()
  // set when the file is faulty.
  bool next_record();

  const std::vector<std::string>& locus_names() const { return names_; }
  int nl() const { return static_cast<int>(names_.size()); }
  int64_t sample() const { return sample_; }  // sample of the record read (from 1)
  int64_t record() const { return record_; }  // records read so far
  int coding_base() const { return coding_base_; }  // 100 or 1000, fixed by the first record
  int allele_digits() const { return coding_base_ == 1000 ? 3 : 2; }
  int max_allele() const { return max_allele_; }   // over every genotype read so far
  const std::vector<int32_t>& genotypes() const { return genotypes_; }  // of the record read
  const std::string& error() const { return error_; }
  int64_t bytes_read() const { return lines_.bytes_read(); }

 private:
  bool find_label_end(std::string_view& line, size_t& comma, bool& separator);
  bool read_genotypes(std::string_view line, size_t pos);
  bool read_genotype(std::string_view token, int locus);
  bool fail(const std::string& text);
  bool binary();
  std::string at_line() const;

  LineReader lines_;
  std::string path_;
  std::vector<std::string> names_;
  std::vector<int32_t> genotypes_;
  int64_t sample_ = 1;
  int64_t record_ = 0;
  int coding_base_ = 0;
  int max_allele_ = 0;
  std::string error_;
};

}  // namespace torvi
