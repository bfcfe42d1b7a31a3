#include "dispersal/split_files.h"

#include "report/fixed_format.h"
#include "report/report_text.h"
#include "util/output_file.h"

namespace torvi::dispersal {

namespace {

constexpr int kCountWidth = 4;     // np, nl, nu and sample numbers
constexpr int kGenotypeWidth = 6;  // each genotype, with no other separator
constexpr const char* kTwoDigits = "  2";

void append_header(std::string& out, const GenHeader& h) {
  out += integer(h.np, kCountWidth) + integer(h.nl, kCountWidth) + integer(h.nu, kCountWidth) + kTwoDigits + kEol;
  for (int32_t l = 1; l <= h.nl; ++l) out += "loc" + std::to_string(l) + kEol;
}

void append_records(std::string& out, int32_t s, int32_t nl, const std::vector<int32_t>& genotypes) {
  for (size_t first = 0; first < genotypes.size(); first += static_cast<size_t>(nl)) {
    out += integer(s, kCountWidth);
    for (int32_t l = 0; l < nl; ++l) out += integer(genotypes[first + static_cast<size_t>(l)], kGenotypeWidth);
    out += kEol;
  }
}

}  // namespace

std::string path_in(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

SplitPaths split_paths(const std::string& dir, const std::string& base, char phil_letter, char disp_letter) {
  return {path_in(dir, base + phil_letter + ".dat"), path_in(dir, base + disp_letter + ".dat"),
          path_in(dir, base + ".dat")};
}

std::string sex_file_text(const GenHeader& h, const std::vector<std::vector<int32_t>>& records) {
  std::string out;
  append_header(out, h);
  for (int32_t s = 1; s <= h.np; ++s) append_records(out, s, h.nl, records[static_cast<size_t>(s)]);
  return out;
}

std::string pooled_file_text(const SexRecords& r) {
  std::string out;
  append_header(out, r.header);
  for (int32_t s = 1; s <= r.header.np; ++s) {
    append_records(out, s, r.header.nl, r.phil[static_cast<size_t>(s)]);
    append_records(out, s, r.header.nl, r.disp[static_cast<size_t>(s)]);
  }
  return out;
}

void write_split_files(const SplitPaths& paths, const SexRecords& r) {
  write_file_atomically(paths.phil, sex_file_text(r.header, r.phil));
  write_file_atomically(paths.disp, sex_file_text(r.header, r.disp));
  write_file_atomically(paths.pooled, pooled_file_text(r));
}

}  // namespace torvi::dispersal
