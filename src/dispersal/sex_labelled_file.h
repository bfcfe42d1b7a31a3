#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvi::dispersal {

// The declared shape on the first line of a sex-labelled file.
struct GenHeader {
  int32_t np = 0, nl = 0, nu = 0;
};

// Limits of the data files the tests read.
inline constexpr int32_t kMaxSamples = 200;
inline constexpr int32_t kMaxLoci = 600;
inline constexpr int32_t kAlleleCodingBase = 100;  // two digits per allele
inline constexpr int32_t kMaxAllele = 999;
// Records of one sex kept per sample; later ones of that sex are skipped.
inline constexpr int32_t kMaxRecordsPerSex = 4999;

// The first line's three whole numbers, or nothing when the line does not
// start with three of them (anything after the third is ignored).
std::optional<GenHeader> parse_gen_header(std::string_view first_line);

bool within_limits(const GenHeader& h);

// The records of a sex-labelled file, per sample and sex, in input order.
// Genotypes are as they will be written: a × 100 + b, or 0 when either
// allele is 0.
struct SexRecords {
  GenHeader header;
  // [s] for s = 1..np: the genotypes of the sample's records, nl per record.
  std::vector<std::vector<int32_t>> phil, disp;
  int64_t beyond_np = 0;   // records of samples past np, not read
  int64_t over_limit = 0;  // records past kMaxRecordsPerSex of their sex and sample
};

// Reads the whole text of a sex-labelled file. A record starting with P or
// p separates samples; a record's first character is its sex letter, its
// label runs to the first comma, then nl genotypes follow on that line.
// Records with another letter are dropped. Throws InputRefused for a first
// line without three whole numbers, a shape over the limits, or a kept
// record that cannot be read (the message names `file_name` and the line).
SexRecords read_sex_labelled(std::string_view text, const std::string& file_name, char phil_letter,
                             char disp_letter);

}  // namespace torvi::dispersal
