#include "run/subset_file.h"

#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>

#include "data/data_reader.h"
#include "data/label_file.h"
#include "data/text_scanner.h"
#include "report/report_text.h"
#include "util/output_file.h"

namespace torvi {

namespace {

constexpr int kHeaderWidth = 4;  // each number of the first line
constexpr int kRecordWidth = 6;  // sample numbers and genotype codes
constexpr const char* kDataExtension = ".dat";

// "-L" and the kept loci's numbers, or nothing when the mark is off.
std::string name_part(const char* tag, bool checked, int count, bool (Selection::*kept)(int) const,
                      const Selection& sel) {
  if (!checked) return {};
  std::string part = tag;
  for (int i = 1; i <= count; ++i)
    if ((sel.*kept)(i)) part += std::to_string(i);
  return part;
}

// ".dat" in any case, as Open accepts it.
bool ends_with_dat(const std::string& name) {
  if (name.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i)
    if (std::tolower(static_cast<unsigned char>(name[name.size() - 4 + i])) != kDataExtension[i]) return false;
  return true;
}

void show_read_error(Host& host, const std::string& path, int line, const std::string& what) {
  host.show_error("Cannot write the subset of " + path + ": line " + std::to_string(line) + " " + what + "." +
                  "\n\r" + "Correct the data file before rerunning please.");
}

// The subset data file's text, read from the opened file. Nothing after an
// error message.
std::optional<std::string> subset_text(Host& host, const std::string& path, const DataSet& header,
                                       const Selection& sel) {
  std::ifstream in(path, std::ios::binary);
  TextScanner sc(in);
  std::string found;
  int32_t ignored = 0;
  for (int i = 0; i < 4; ++i) sc.read_int(ignored, found);
  sc.skip_line();

  std::vector<int> new_number(static_cast<size_t>(header.np) + 1, 0);
  int np_kept = 0, nl_kept = 0;
  for (int s = 1; s <= header.np; ++s)
    if (sel.sample_kept(s)) new_number[s] = ++np_kept;
  for (int l = 1; l <= header.nl; ++l) nl_kept += sel.locus_kept(l) ? 1 : 0;

  ReportText out;
  out.line(integer(np_kept, kHeaderWidth) + " " + integer(nl_kept, kHeaderWidth) + " " +
           integer(header.nu, kHeaderWidth) + " " + integer(header.allele_digits, kHeaderWidth));
  for (int l = 1; l <= header.nl; ++l) {
    std::string name = sc.read_line_start(INT_MAX);
    sc.skip_line();
    if (sel.locus_kept(l)) out.line(name);
  }

  std::vector<int32_t> codes(static_cast<size_t>(header.nl) + 1);
  while (!sc.at_end_after_space()) {
    int32_t s = 0;
    if (sc.read_int(s, found) != TextScanner::Read::number) {
      show_read_error(host, path, sc.token_line(), "holds \"" + found + "\" where a sample number is expected");
      return std::nullopt;
    }
    if (s < 1) {
      sc.skip_line();
      continue;
    }
    for (int l = 1; l <= header.nl; ++l) {
      const TextScanner::Read r = sc.read_int(codes[l], found);
      if (r == TextScanner::Read::number) continue;
      show_read_error(host, path, r == TextScanner::Read::end_of_file ? sc.line() : sc.token_line(),
                      r == TextScanner::Read::end_of_file ? "ends inside a record"
                                                          : "holds \"" + found + "\" where a genotype is expected");
      return std::nullopt;
    }
    sc.skip_line();
    if (s > header.np || new_number[s] == 0) continue;
    out << integer(new_number[s], kRecordWidth) << ' ';
    for (int l = 1; l <= header.nl; ++l)
      if (sel.locus_kept(l)) out << integer(codes[l], kRecordWidth) << ' ';
    out.eol();
  }
  return out.str();
}

// Labels of the kept samples, renumbered with them.
std::vector<std::string> kept_labels(const Selection& sel, int np) {
  std::vector<std::string> names(1);
  for (int s = 1; s <= np; ++s) {
    if (!sel.sample_kept(s)) continue;
    names.push_back(static_cast<size_t>(s) < sel.sample_names.size() ? sel.sample_names[s] : std::string());
  }
  return names;
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

// Replaced only once complete; the message names the file and the reason.
bool write_or_report(Host& host, const std::string& path, const std::string& text) {
  try {
    write_file_atomically(path, text);
    return true;
  } catch (const OutputError& e) {
    host.show_error(e.what());
    return false;
  }
}

}  // namespace

std::optional<SubsetFile> select_subset(Host& host, const std::string& data_path, const std::string& base_name,
                                        const Selection& selection, bool write_labels) {
  if (!selection.loci_checked && !selection.samples_checked)
    return SubsetFile{base_name, data_path, selection.sample_names};

  DataSet header;
  if (!check_header(host, data_path, header)) return std::nullopt;
  const std::string new_base = base_name +
                               name_part("-L", selection.loci_checked, header.nl, &Selection::locus_kept, selection) +
                               name_part("-P", selection.samples_checked, header.np, &Selection::sample_kept, selection);
  std::optional<std::string> text = subset_text(host, data_path, header, selection);
  if (!text) return std::nullopt;

  std::string target = new_base + kDataExtension;
  if (auto chosen = host.ask_subset_file(kSubsetDialogTitle, target); chosen && !chosen->empty()) {
    const std::string name = ends_with_dat(*chosen) ? *chosen : *chosen + kDataExtension;
    if (same_file(name, data_path))
      host.show_error("The subset cannot replace the data file it is taken from, " + data_path + "." + "\n\r" +
                      "It is written to " + target + ".");
    else
      target = name;
  }
  if (!write_or_report(host, target, *text)) return std::nullopt;
  host.note("subset of samples and loci written to " + target);

  SubsetFile subset{target.substr(0, target.size() - 4), target, kept_labels(selection, header.np)};
  if (write_labels && !write_or_report(host, subset.base_name + ".lab", label_file_text(subset.sample_names)))
    return std::nullopt;
  return subset;
}

}  // namespace torvi
