#include "data/data_reader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "data/text_scanner.h"

namespace torvi {

namespace {

constexpr const char* kBreak = "\n\r";
constexpr int kNameLength = 6;

std::string upper_file_name(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name;
}

std::string without_extension(const std::string& path) {
  return std::filesystem::path(path).replace_extension().string();
}

std::string limits_text() {
  return "NPMax= " + std::to_string(NPMax) + " NLMax= " + std::to_string(NLMax) + " NUMax= " +
         std::to_string(NUMax) + kBreak + "needs recompiling with a higher value for NPMax, NLMax or NUMax." +
         kBreak + kContactLine;
}

bool over_limits(const DataSet& ds) { return ds.np > NPMax || ds.nl > NLMax || ds.nu > NUMax; }

// A count below 1 would leave nothing to analyse and tables of no or negative size.
bool below_one(const DataSet& ds) { return ds.np < 1 || ds.nl < 1 || ds.nu < 1; }

void show_below_one(Host& host, const std::string& path) {
  host.show_error("Wrong first line in " + upper_file_name(path) + kBreak +
                  "The numbers of samples, loci and alleles have to be 1 or more." + kBreak +
                  "Correct the data file before rerunning please. Exiting...");
}

void show_not_a_number(Host& host, const std::string& path, int line, const std::string& found) {
  host.show_error("Line " + std::to_string(line) + " of " + path + " holds \"" + found +
                  "\" where a number is expected." + kBreak +
                  "Correct the data file before rerunning please. Exiting...");
}

void show_binary(Host& host, const std::string& path, int line) {
  host.show_error("Line " + std::to_string(line) + " of " + path + " holds binary data: it is not a data file." +
                  kBreak + "Correct the data file before rerunning please. Exiting...");
}

// The line that names where a message of the reader comes from.
std::string where(const std::string& path, int line) {
  return std::string(kBreak) + "Line " + std::to_string(line) + " of " + path + ".";
}

void show_cannot_open(Host& host, const std::string& path) {
  host.show_error("Cannot open the data file " + path + ".");
}

// Reads one number, showing the message for text or binary data where it
// should be. Returns what was found.
TextScanner::Read read_token(Host& host, TextScanner& sc, const std::string& path, int32_t& value) {
  std::string found;
  const TextScanner::Read r = sc.read_int(value, found);
  if (r == TextScanner::Read::not_a_number) show_not_a_number(host, path, sc.token_line(), found);
  if (r == TextScanner::Read::binary) show_binary(host, path, sc.token_line());
  return r;
}

// Reads one number; a missing number at the end of the file reads as 0, as
// the header and the sample number allow. False after the message for text.
bool read_number(Host& host, TextScanner& sc, const std::string& path, int32_t& value) {
  const TextScanner::Read r = read_token(host, sc, path, value);
  return r == TextScanner::Read::number || r == TextScanner::Read::end_of_file;
}

// A NUL byte anywhere, also where the format ignores what a line holds.
bool binary_seen(Host& host, const TextScanner& sc, const std::string& path) {
  if (sc.nul_line() == 0) return false;
  show_binary(host, path, sc.nul_line());
  return true;
}

bool read_counts(Host& host, TextScanner& sc, const std::string& path, DataSet& ds) {
  return read_number(host, sc, path, ds.np) && read_number(host, sc, path, ds.nl) &&
         read_number(host, sc, path, ds.nu);
}

// Locus names: the first characters of each of the next nl lines. A file
// that ends before them is refused (`check_end`): its records would
// otherwise be taken for names, or there would be none.
bool read_locus_names(Host& host, TextScanner& sc, const std::string& path, DataSet& ds, bool check_end = true) {
  ds.locus_names.assign(static_cast<size_t>(ds.nl) + 1, std::string());
  for (int l = 1; l <= ds.nl; ++l) {
    if (check_end && sc.at_end()) {
      host.show_error("The data file " + path + " ends after " + std::to_string(l - 1) + " of " +
                      std::to_string(ds.nl) + " locus names." + where(path, sc.line()) + kBreak +
                      "Correct the data file before rerunning please. Exiting...");
      return false;
    }
    ds.locus_names[l] = sc.read_line_start(kNameLength);
    sc.skip_line();
  }
  return !check_end || !binary_seen(host, sc, path);
}

// The message for a code that cannot be a genotype. When it is the first
// number of a line after the record's own, the record most likely ended
// early and this is the next record's sample number.
void show_miscoded(Host& host, const TextScanner& sc, const std::string& path, const DataSet& ds, int i, int k,
                   int record_line, int32_t h, int32_t m) {
  if (sc.token_line() != record_line && sc.token_starts_line()) {
    host.show_error("The record of individual " + std::to_string(i) + " on line " + std::to_string(record_line) +
                    " of " + path + " holds " + std::to_string(k - 1) + " genotype codes where " +
                    std::to_string(ds.nl) + " are expected." + kBreak +
                    "Correct the data file before rerunning please. Exiting...");
    return;
  }
  host.show_error("Miscoded genotype for individual " + std::to_string(i) + kBreak + "at locus " + std::to_string(k) +
                  ". Alleles are " + std::to_string(h) + " and " + std::to_string(m) + kBreak +
                  "Correct the data file before rerunning please. Exiting..." + where(path, sc.token_line()));
}

bool miscoded(int32_t g, int32_t h, int32_t m, const DataSet& ds) {
  // A negative code or a first part needing more digits than allele_digits
  // would be stored as a different genotype.
  return g < 0 || (h == 0) != (m == 0) || h > ds.nu || m > ds.nu || h >= ds.coding_base;
}

}  // namespace

bool check_header(Host& host, std::istream& in, const std::string& path, DataSet& ds) {
  TextScanner sc(in);
  if (!read_counts(host, sc, path, ds) || !read_number(host, sc, path, ds.allele_digits)) return false;
  sc.skip_line();
  if (over_limits(ds)) {
    host.show_error("Too many populations, loci or alleles in " + upper_file_name(path) + kBreak + limits_text());
    return false;
  }
  if (below_one(ds)) {
    show_below_one(host, path);
    return false;
  }
  if (!read_locus_names(host, sc, path, ds)) return false;
  ds.locus_selected.assign(static_cast<size_t>(ds.nl) + 1, 1);
  ds.sample_selected.assign(static_cast<size_t>(ds.np) + 1, 1);
  return set_coding_base(host, path, ds);
}

bool set_coding_base(Host& host, const std::string& path, DataSet& ds) {
  if (ds.allele_digits < 1 || ds.allele_digits > 3) {
    host.show_info("error in " + without_extension(path) + ". The 4th number on the first line" + kBreak +
                   "has to be a 1, 2 or a 3, depending in the way alleles are coded." + kBreak +
                   "Correct and re-run TORVI. Exiting.");
    return false;
  }
  ds.coding_base = ds.allele_digits == 1 ? 10 : ds.allele_digits == 2 ? 100 : 1000;
  return true;
}

bool read_header_as_written(Host& host, const std::string& path, DataSet& ds) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    show_cannot_open(host, path);
    return false;
  }
  TextScanner sc(in);
  if (!read_counts(host, sc, path, ds) || !read_number(host, sc, path, ds.allele_digits)) return false;
  sc.skip_line();
  if (ds.nl >= 0 && ds.nl <= NLMax) {
    read_locus_names(host, sc, path, ds, false);
  } else {
    ds.locus_names.assign(1, std::string());
  }
  return true;
}

bool check_header(Host& host, const std::string& path, DataSet& ds) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    show_cannot_open(host, path);
    return false;
  }
  return check_header(host, in, path, ds);
}

namespace {

// First line and locus names of the full read; false after the message.
bool read_full_header(Host& host, TextScanner& sc, const std::string& path, DataSet& ds) {
  if (!read_counts(host, sc, path, ds)) return false;
  sc.skip_line();
  if (over_limits(ds)) {
    host.show_error("Too many populations, loci or alleles. " + limits_text() + kBreak + "        Exiting...");
    return false;
  }
  if (below_one(ds)) {
    show_below_one(host, path);
    return false;
  }
  if (!read_locus_names(host, sc, path, ds)) return false;
  for (int l = 1; l <= ds.nl; ++l)
    for (char& c : ds.locus_names[l])
      if (static_cast<unsigned char>(c) <= 38) c = ' ';
  return true;
}

// The nl genotype codes of individual i, whose record starts on
// record_line, stored with the smaller allele in the high place; false after
// the message.
bool read_codes(Host& host, TextScanner& sc, const std::string& path, const DataSet& ds, int i, int record_line,
                int32_t* row) {
  const int32_t base = ds.coding_base;
  for (int k = 1; k <= ds.nl; ++k) {
    int32_t g = 0;
    const TextScanner::Read r = read_token(host, sc, path, g);
    if (r == TextScanner::Read::end_of_file)
      host.show_error("The data file " + path + " ends inside the record of individual " + std::to_string(i) +
                      " (line " + std::to_string(sc.line()) + ")." + kBreak +
                      "Correct the data file before rerunning please. Exiting...");
    if (r != TextScanner::Read::number) return false;
    int32_t h = g / base;
    int32_t m = g % base;
    if (miscoded(g, h, m, ds)) {
      show_miscoded(host, sc, path, ds, i, k, record_line, h, m);
      return false;
    }
    row[k - 1] = m < h ? h + m * base : g;
  }
  return true;
}

}  // namespace

bool read_data_records(Host& host, std::istream& in, const std::string& path, DataSet& ds,
                       const RecordSink& sink) {
  if (ds.coding_base != 10 && ds.coding_base != 100 && ds.coding_base != 1000)
    throw std::invalid_argument("read_data_file needs the coding base of check_header");
  TextScanner sc(in);
  if (!read_full_header(host, sc, path, ds)) return false;
  ds.sample_size.assign(static_cast<size_t>(ds.np) + 1, 0);
  ds.nl_used = ds.nl;

  std::vector<int32_t> row(static_cast<size_t>(ds.nl));
  int i = 0;
  while (!sc.at_end_after_space()) {
    int32_t s = 0;
    if (!read_number(host, sc, path, s)) return false;
    const int record_line = sc.token_line();
    if (s < 1) {
      sc.skip_line();
      continue;
    }
    if (s > ds.np) {
      host.show_error("At least one individual belongs to sample " + std::to_string(s) + kBreak +
                      "But the number of samples entered on the first line is " + std::to_string(ds.np) + kBreak +
                      "Adjust this later number to match the highest sample identifier in use." + kBreak +
                      "Exiting..." + where(path, record_line));
      return false;
    }
    ++ds.sample_size[s];
    ++i;
    if (i > MaxInd) {
      host.show_error("Too many individuals MaxInd= " + std::to_string(MaxInd) + kBreak +
                      "needs recompiling with a higher value for MaxInd" + kBreak + kContactLine + kBreak +
                      "        Exiting...");
      return false;
    }
    if (!read_codes(host, sc, path, ds, i, record_line, row.data())) return false;
    sc.skip_line();
    sink(s, row.data());
  }
  ds.ni = i;
  // Binary data where the format skips the rest of a line is still binary.
  if (binary_seen(host, sc, path)) return false;
  if (ds.ni == 0) {
    // Nothing to analyse: every table would be empty.
    host.show_error("The data file " + path + " holds no individuals." + where(path, sc.line()) + kBreak +
                    "Correct the data file before rerunning please. Exiting...");
    return false;
  }
  return true;
}

bool read_data_file(Host& host, std::istream& in, const std::string& path, DataSet& ds) {
  // Position 0 of every per-individual table is unused; the tables grow with
  // the records.
  ds.sample_of.assign(1, 0);
  ds.missing_count.assign(1, 0);
  ds.codes.clear();
  auto store = [&ds](int32_t s, const int32_t* codes) {
    if (ds.codes.empty()) ds.codes.assign(static_cast<size_t>(ds.nl), 0);
    ds.sample_of.push_back(s);
    ds.codes.insert(ds.codes.end(), codes, codes + ds.nl);
    ds.missing_count.push_back(static_cast<uint16_t>(std::count(codes, codes + ds.nl, 0)));
  };
  if (!read_data_records(host, in, path, ds, store)) return false;
  ds.complete_count.assign(static_cast<size_t>(ds.np) + 1, 0);
  for (int j = 1; j <= ds.ni; ++j)
    if (ds.missing_count[j] == 0) ++ds.complete_count[ds.sample_of[j]];
  for (int s = 1; s < ds.np; ++s) ds.sample_size[s + 1] += ds.sample_size[s];
  return true;
}

bool read_data_file(Host& host, const std::string& path, DataSet& ds) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    show_cannot_open(host, path);
    return false;
  }
  return read_data_file(host, in, path, ds);
}

}  // namespace torvi
