#include "dispersal/genotype_set.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "data/text_scanner.h"
#include "dispersal/messages.h"
#include "dispersal/sex_labelled_file.h"

namespace torvi::dispersal {

namespace {

// One number of the file; the end of the file where one is expected is
// refused like any other text that is not a number.
int32_t expect_int(TextScanner& in, const std::string& file, const char* what) {
  int32_t value = 0;
  std::string found;
  switch (in.read_int(value, found)) {
    case TextScanner::Read::number:
      return value;
    case TextScanner::Read::end_of_file:
      throw InputRefused(line_message(file, in.token_line(), std::string("the file ends where ") + what + " is expected"));
    case TextScanner::Read::binary:
      throw InputRefused(line_message(file, in.token_line(), "binary data where " + std::string(what) + " is expected"));
    case TextScanner::Read::not_a_number:
      break;
  }
  throw InputRefused(line_message(file, in.token_line(), "\"" + found + "\" where " + what + " is expected"));
}

void read_shape(TextScanner& in, const std::string& file, GenotypeSet& set) {
  set.np = expect_int(in, file, "the number of samples");
  set.nl = expect_int(in, file, "the number of loci");
  set.nu = expect_int(in, file, "the highest allele");
  const int32_t digits = expect_int(in, file, "the number of digits per allele");
  in.skip_line();
  if (set.np > kMaxSamples || set.nl > kMaxLoci || set.nu > kMaxAllele) throw InputRefused(kTooManyMessage);
  if (set.np < 1 || set.nl < 1 || set.nu < 1 || (digits != 1 && digits != 2))
    throw InputRefused(line_message(file, 1, "not the first line of a data file of the dispersal tests"));
  set.coding_base = digits == 1 ? 10 : kAlleleCodingBase;
  for (int32_t l = 0; l < set.nl; ++l) in.skip_line();
}

void check_genotype(int32_t g, const GenotypeSet& set, const std::string& file, int line) {
  const int32_t a = g / set.coding_base, b = g % set.coding_base;
  if (g < 0 || a > set.nu || b > set.nu)
    throw InputRefused(line_message(file, line, "genotype " + std::to_string(g) + " is not a genotype code"));
  if ((a == 0) != (b == 0)) throw InputRefused(kProblemMessage);
}

}  // namespace

GenotypeSet read_set(std::istream& stream, const std::string& file_name) {
  TextScanner in(stream);
  GenotypeSet set;
  read_shape(in, file_name, set);
  std::vector<int32_t> counts(static_cast<size_t>(set.np) + 1, 0);
  int32_t last_sample = 0;
  while (!in.at_end_after_space()) {
    const int32_t s = expect_int(in, file_name, "a sample number");
    const int line = in.token_line();
    if (s == 0) {
      in.skip_line();
      continue;
    }
    if (s < last_sample || s > set.np)
      throw InputRefused(line_message(file_name, line, "sample " + std::to_string(s) + " is out of order or above " +
                                                           std::to_string(set.np)));
    last_sample = s;
    ++counts[static_cast<size_t>(s)];
    for (int32_t l = 0; l < set.nl; ++l) {
      const int32_t g = expect_int(in, file_name, "a genotype");
      check_genotype(g, set, file_name, in.token_line());
      set.codes.push_back(g);
    }
    in.skip_line();
  }
  set.ni = static_cast<int32_t>(set.codes.size() / static_cast<size_t>(set.nl));
  set.cumulative.assign(static_cast<size_t>(set.np) + 1, 0);
  for (int32_t s = 1; s <= set.np; ++s)
    set.cumulative[static_cast<size_t>(s)] = set.cumulative[static_cast<size_t>(s) - 1] + counts[static_cast<size_t>(s)];
  return set;
}

GenotypeSet read_set_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputRefused("Cannot read " + path + ": " + std::strerror(errno));
  return read_set(in, path);
}

}  // namespace torvi::dispersal
