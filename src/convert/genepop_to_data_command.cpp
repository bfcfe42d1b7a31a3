// "Genepop->Torvi": one Genepop file to a data file.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "convert/conversion_target.h"
#include "convert/genepop_to_dat.h"
#include "torvi/convert.h"

namespace torvi {

namespace {

constexpr const char* kSaveTitle = "File name for the new TORVI file";
constexpr int kPasses = 2;  // a reading that checks, a reading that writes

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

int64_t size_of(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<int64_t>(size);
}

// The data file's name, and the name the closing message shows: the target
// less ".dat" when no dialog was needed, the chosen path when it was.
struct Target {
  std::string path;
  std::string shown;
};

std::optional<Target> choose_target(Host& host, const std::string& genepop_file, const std::string& given) {
  if (!given.empty()) return Target{given, given};
  const std::string base = without_extension(genepop_file);
  bool asked = false;
  auto chosen = choose_new_file(host, kSaveTitle, base + ".dat", asked);
  if (!chosen) return std::nullopt;
  return Target{*chosen, asked ? *chosen : base};
}

bool write_target(Host& host, const std::string& genepop_file, const std::string& target,
                  const GenepopSurvey& survey, ConversionProgress& progress, int64_t offset) {
  std::ifstream in(genepop_file, std::ios::binary);
  std::string error;
  try {
    FileSink out(target);
    if (in && write_data_file(in, genepop_file, survey, out, error, &progress, offset)) {
      out.commit();
      return true;
    }
  } catch (const OutputError& e) {
    host.show_error(e.what());
    return false;
  }
  host.show_info(error.empty() ? "Cannot read the Genepop file " + genepop_file + "." : error);
  return false;
}

}  // namespace

bool is_genepop_file_name(const std::string& path) {
  const std::string ext = upper(extension_of(path));
  return ext == ".GEN" || ext.empty();
}

ConvertOutcome convert_genepop_to_data(Host& host, const std::string& genepop_file, const std::string& target) {
  ConvertOutcome outcome;
  if (!is_genepop_file_name(genepop_file)) {
    ++outcome.skipped;
    return outcome;
  }
  std::ifstream in(genepop_file, std::ios::binary);
  if (!in) {
    host.show_info("Cannot open the Genepop file " + genepop_file + ".");
    ++outcome.refused;
    return outcome;
  }
  const int64_t size = size_of(genepop_file);
  try {
    ConversionProgress progress(host, kPasses * size);
    GenepopSurvey survey;
    std::string error;
    if (!survey_genepop(in, genepop_file, survey, error, &progress)) {
      host.show_info(error);
      ++outcome.refused;
      return outcome;
    }
    in.close();
    const auto chosen = choose_target(host, genepop_file, target);
    if (!chosen) {
      ++outcome.skipped;
      return outcome;
    }
    if (same_file(genepop_file, chosen->path)) {
      host.show_info("The data file cannot replace the Genepop file it is converted from: " + chosen->path);
      ++outcome.refused;
      return outcome;
    }
    if (!write_target(host, genepop_file, chosen->path, survey, progress, size)) {
      ++outcome.refused;
      return outcome;
    }
    ++outcome.converted;
    outcome.written.push_back(chosen->path);
    host.show_info("TORVI file format for " + chosen->shown + " successfully created.");
  } catch (const RunCancelled&) {
    outcome.cancelled = true;
  }
  return outcome;
}

}  // namespace torvi
