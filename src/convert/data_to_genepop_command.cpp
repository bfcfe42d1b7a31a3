// "Torvi->Genepop": data files to Genepop files beside them.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "convert/conversion_progress.h"
#include "convert/conversion_target.h"
#include "convert/genepop_writer.h"
#include "data/data_reader.h"
#include "run/data_file_entry.h"
#include "torvi/convert.h"

namespace torvi {

namespace {

constexpr const char* kSaveTitle = "File name for the new GENEPOP file";

int64_t size_of(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<int64_t>(size);
}

// Keeps the start of the Genepop file when the reader refuses the data file
// after it: the title, the locus names and the first "Pop" line.
void keep_head(const std::string& target, const std::string& head) {
  FileSink partial(target);
  partial.write(head);
  partial.commit();
}

// Streams the individuals of `path` into the Genepop file `target`. True when
// the data file was read whole; otherwise the reader's message was shown and
// the Genepop file keeps its head only.
bool write_genepop(Host& host, const std::string& path, const std::string& target, DataSet& ds) {
  const std::string head = genepop_head(ds.np, ds.nl, ds.nu, ds.locus_names);
  if (!set_coding_base(host, path, ds)) {
    keep_head(target, head);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  ConversionProgress progress(host, size_of(path));
  FileSink out(target);
  out.write(head);
  GenepopWriter writer(out, ds.coding_base);
  const auto individual = [&](int32_t sample, const int32_t* codes) {
    writer.individual(sample, codes, ds.nl);
    progress.advance_to(in.tellg());
  };
  if (!read_data_records(host, in, path, ds, individual)) {
    keep_head(target, head);
    return false;
  }
  out.commit();
  return true;
}

enum class FileResult { converted, refused, skipped };

// Converts one data file; `target_name` receives the Genepop file's name.
FileResult convert_one(Host& host, const std::string& path, std::string& target_name) {
  if (const auto problem = data_file_problem(path)) {
    host.show_error(*problem);
    return FileResult::refused;
  }
  DataSet ds;
  if (!read_header_as_written(host, path, ds)) return FileResult::refused;
  bool asked = false;
  const auto target = choose_new_file(host, kSaveTitle, *base_name_of(path) + ".gen", asked);
  if (!target) {
    host.show_info("Invalid file name");
    return FileResult::skipped;
  }
  if (same_file(path, *target)) {
    host.show_info("The Genepop file cannot replace the data file it is converted from: " + *target);
    return FileResult::refused;
  }
  target_name = *target;
  try {
    return write_genepop(host, path, *target, ds) ? FileResult::converted : FileResult::refused;
  } catch (const OutputError& e) {
    host.show_error(e.what());
    return FileResult::refused;
  }
}

}  // namespace

bool is_data_file_name(const std::string& path) { return base_name_of(path).has_value(); }

ConvertOutcome convert_data_to_genepop(Host& host, const std::vector<std::string>& files) {
  ConvertOutcome outcome;
  try {
    for (const std::string& path : files) {
      if (!is_data_file_name(path)) continue;
      std::string target;
      switch (convert_one(host, path, target)) {
        case FileResult::converted:
          ++outcome.converted;
          outcome.written.push_back(target);
          break;
        case FileResult::refused:
          ++outcome.refused;
          break;
        case FileResult::skipped:
          ++outcome.skipped;
          break;
      }
    }
  } catch (const RunCancelled&) {
    outcome.cancelled = true;
  }
  if (!outcome.written.empty() && !outcome.cancelled)
    host.show_info("Genepop compatible datafile\n\rstored in file " + outcome.written.back());
  return outcome;
}

}  // namespace torvi
