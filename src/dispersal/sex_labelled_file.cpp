#include "dispersal/sex_labelled_file.h"

#include <cctype>
#include <charconv>
#include <sstream>

#include "dispersal/messages.h"
#include "util/line_reader.h"

namespace torvi::dispersal {

namespace {

bool is_sample_separator(char c) { return c == 'P' || c == 'p'; }

// A whole number written with decimal digits only, within 32 bits.
std::optional<int32_t> whole_number(std::string_view word) {
  if (word.empty()) return std::nullopt;
  for (char c : word)
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  int32_t value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// Appends the nl genotypes of a kept record (the text after its label).
void read_genotypes(std::string_view line, const GenHeader& h, const std::string& file, int64_t line_number,
                    std::vector<int32_t>& out) {
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos)
    throw InputRefused(line_message(file, line_number, "no comma ends the individual's label"));
  size_t pos = comma + 1;
  for (int32_t l = 1; l <= h.nl; ++l) {
    const std::string_view word = next_token(line, pos);
    if (word.empty())
      throw InputRefused(line_message(file, line_number,
                                      "the record holds " + std::to_string(l - 1) + " of " + std::to_string(h.nl) +
                                          " genotypes"));
    const std::optional<int32_t> g = whole_number(word);
    if (!g)
      throw InputRefused(line_message(file, line_number,
                                      "\"" + std::string(word) + "\" where genotype " + std::to_string(l) +
                                          " is expected"));
    const int32_t a = *g / kAlleleCodingBase, b = *g % kAlleleCodingBase;
    if (a > h.nu || b > h.nu)
      throw InputRefused(line_message(file, line_number,
                                      "genotype " + std::string(word) + " holds an allele above " +
                                          std::to_string(h.nu) + ", the highest declared on line 1"));
    out.push_back(a == 0 || b == 0 ? 0 : *g);
  }
}

}  // namespace

std::optional<GenHeader> parse_gen_header(std::string_view first_line) {
  int32_t values[3];
  size_t pos = 0;
  for (int32_t& v : values) {
    std::optional<int32_t> n = whole_number(next_token(first_line, pos));
    if (!n) return std::nullopt;
    v = *n;
  }
  return GenHeader{values[0], values[1], values[2]};
}

bool within_limits(const GenHeader& h) { return h.np <= kMaxSamples && h.nl <= kMaxLoci && h.nu <= kMaxAllele; }

SexRecords read_sex_labelled(std::string_view text, const std::string& file_name, char phil_letter,
                             char disp_letter) {
  std::istringstream in{std::string(text)};
  LineReader lines(in);
  std::string_view line;
  std::optional<GenHeader> header;
  if (lines.next(line)) header = parse_gen_header(line);
  if (!header) throw InputRefused(kInvalidFormatMessage);
  if (!within_limits(*header)) throw InputRefused(kTooManyMessage);
  if (header->np < 1 || header->nl < 1 || header->nu < 1)
    throw InputRefused(line_message(file_name, 1, "the numbers of samples, loci and alleles must be at least 1"));

  SexRecords r;
  r.header = *header;
  r.phil.resize(static_cast<size_t>(header->np) + 1);
  r.disp.resize(static_cast<size_t>(header->np) + 1);
  // Line 2 (locus names) and line 3 (the first separator) are skipped.
  bool more = lines.next(line) && lines.next(line) && lines.next(line);
  for (int32_t s = 1; more && s <= header->np; ++s) {
    int32_t phil_count = 0, disp_count = 0;
    // A separator at the start of a sample leaves that sample empty.
    while (more && (line.empty() || !is_sample_separator(line[0]))) {
      const char c = line.empty() ? '\0' : line[0];
      if (c != '\0' && (c == phil_letter || c == disp_letter)) {
        const bool phil = c == phil_letter;
        if (++(phil ? phil_count : disp_count) <= kMaxRecordsPerSex)
          read_genotypes(line, *header, file_name, lines.line_number(), (phil ? r.phil : r.disp)[s]);
        else
          ++r.over_limit;
      }
      more = lines.next(line);
    }
    if (more) more = lines.next(line);  // past the separator
  }
  // Samples beyond np are not read; their records are counted for a note.
  for (; more; more = lines.next(line))
    if (!line.empty() && !is_sample_separator(line[0]) && (line[0] == phil_letter || line[0] == disp_letter))
      ++r.beyond_np;
  return r;
}

}  // namespace torvi::dispersal
