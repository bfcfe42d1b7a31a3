#include "convert/genepop_reader.h"

#include <algorithm>
#include <cctype>

#include "model/limits.h"

namespace torvi {

namespace {

constexpr const char* kBreak = "\n\r";
constexpr const char* kProblem = "Problem in the genepop file!";
constexpr const char* kAlleleDigits = "each allele must be encoded by a 2 or 3 digits number";
constexpr size_t kNameLength = 6;
constexpr size_t kShownToken = 20;  // enough of a bad token to recognise it
constexpr int kMaxSignificantDigits = 9;

bool equals_pop(std::string_view s) {
  return s.size() == 3 && std::toupper(static_cast<unsigned char>(s[0])) == 'P' &&
         std::toupper(static_cast<unsigned char>(s[1])) == 'O' && std::toupper(static_cast<unsigned char>(s[2])) == 'P';
}

// Value of a run of digits; -1 when the token holds anything else, -2 when
// it is too large for any genotype.
int64_t digits_value(std::string_view s) {
  int64_t v = 0;
  int significant = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    if (significant > 0 || c != '0') ++significant;
    if (significant <= kMaxSignificantDigits) v = v * 10 + (c - '0');
  }
  return significant > kMaxSignificantDigits ? -2 : v;
}

// Locus names read both ways until it is known whether the list holds a comma.
struct NameList {
  std::vector<std::string> per_line;  // first characters of each line
  std::vector<std::string> by_comma{std::string()};
  int64_t lines = 0;
  int64_t commas = 0;

  void add_line(std::string_view line) {
    ++lines;
    if (per_line.size() <= static_cast<size_t>(NLMax)) per_line.emplace_back(line.substr(0, kNameLength));
    for (char c : line) {
      if (c == ',') {
        ++commas;
        if (by_comma.size() <= static_cast<size_t>(NLMax)) by_comma.emplace_back();
      } else if (by_comma.size() == static_cast<size_t>(commas) + 1 && by_comma.back().size() < kNameLength) {
        by_comma.back() += c;
      }
    }
  }
  int64_t count() const { return commas > 0 ? commas + 1 : lines; }
  std::vector<std::string>& names() { return commas > 0 ? by_comma : per_line; }
};

}  // namespace

GenepopReader::GenepopReader(std::istream& in, std::string path) : lines_(in), path_(std::move(path)) {}

bool GenepopReader::fail(const std::string& text) {
  error_ = std::string(kProblem) + kBreak + text;
  return false;
}

// True, with the message, once a line read held a NUL byte.
bool GenepopReader::binary() {
  if (lines_.nul_line() == 0) return false;
  fail("Line " + std::to_string(lines_.nul_line()) + " of " + path_ + " holds binary data: it is not a Genepop file.");
  return true;
}

std::string GenepopReader::at_line() const {
  return "Line " + std::to_string(lines_.line_number()) + " of " + path_;
}

bool GenepopReader::read_names() {
  std::string_view line;
  lines_.next(line);  // the title
  NameList list;
  for (;;) {
    const bool more = lines_.next(line);
    if (binary()) return false;
    if (!more) return fail(path_ + ": no POP line after the locus names.");
    if (equals_pop(line)) break;
    list.add_line(line);
  }
  if (list.count() == 0) return fail(path_ + ": no locus name before the first POP line.");
  if (list.count() > NLMax)
    return fail(path_ + " names " + std::to_string(list.count()) + " loci; at most " + std::to_string(NLMax) +
                " can be converted.");
  names_ = std::move(list.names());
  genotypes_.assign(names_.size(), 0);
  return true;
}

// Finds the comma that ends the label of the record starting on `line`,
// reading further lines when needed. False at the end of the file.
bool GenepopReader::find_label_end(std::string_view& line, size_t& comma, bool& separator) {
  do {
    if (!lines_.next(line)) return false;
  } while (is_blank(line));
  separator = line.size() >= 3 && equals_pop(line.substr(0, 3));
  const int64_t first_line = lines_.line_number();
  while ((comma = line.find(',')) == std::string_view::npos) {
    if (!lines_.next(line)) {
      // A last "Pop" line with nobody after it adds nothing.
      if (!separator)
        fail(path_ + " ends inside the label of individual " + std::to_string(record_ + 1) + " (line " +
             std::to_string(first_line) + "): no comma follows it.");
      return false;
    }
  }
  return true;
}

bool GenepopReader::next_record() {
  std::string_view line;
  size_t comma = 0;
  bool separator = false;
  const bool found = find_label_end(line, comma, separator);
  if (binary() || !found) return false;
  ++record_;
  if (separator) ++sample_;
  return read_genotypes(line, comma + 1);
}

bool GenepopReader::read_genotypes(std::string_view line, size_t pos) {
  for (int k = 0; k < nl(); ++k) {
    std::string_view token = next_token(line, pos);
    if (token.empty())
      return fail(at_line() + " holds " + std::to_string(k) + " genotypes where " + std::to_string(nl()) +
                  " are expected.");
    if (!read_genotype(token, k)) return false;
  }
  return true;  // anything after the last genotype is ignored
}

bool GenepopReader::read_genotype(std::string_view token, int locus) {
  const int64_t g = digits_value(token);
  if (g == -1)
    return fail(at_line() + " holds \"" + std::string(token.substr(0, kShownToken)) +
                "\" where a genotype is expected.");
  if (coding_base_ == 0) {
    if (token.size() != 4 && token.size() != 6) return fail(kAlleleDigits);
    coding_base_ = token.size() == 4 ? 100 : 1000;
  }
  if (g < 0 || g >= static_cast<int64_t>(coding_base_) * coding_base_)
    return fail(std::string(kAlleleDigits) + kBreak + at_line() + " holds the genotype " +
                std::string(token.substr(0, kShownToken)) + ".");
  // Constant divisors: this runs for every genotype of the file.
  const int a = static_cast<int>(coding_base_ == 100 ? g / 100 : g / 1000);
  const int b = static_cast<int>(g - static_cast<int64_t>(a) * coding_base_);
  max_allele_ = std::max(max_allele_, std::max(a, b));
  if ((a == 0) != (b == 0))
    return fail(std::string("a genotype must contain either 2 or 0 alleles") + kBreak + "Individual " +
                std::to_string(record_) + " in sample " + std::to_string(sample_) +
                " has only one typed allele at locus " + std::to_string(locus + 1) + kBreak +
                (record_ == 1 ? "A real allele for diploid individuals is not allowed."
                              : "A single allele for diploid individuals is not allowed."));
  genotypes_[static_cast<size_t>(locus)] = static_cast<int32_t>(g);
  return true;
}

}  // namespace torvi
