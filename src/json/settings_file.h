#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "data/selection.h"
#include "json/run_settings_json.h"
#include "random/rng.h"

namespace torvi {

inline constexpr const char* kSettingsFormat = "torvi-settings";

// What a run settings file holds for the main window's first page: every
// control, the choice of the Options menu, and the seeds when the person
// asked for them. A file saved from the window and given to `torvi run
// --settings` runs what the window's Run would.
struct RunSettingsFile {
  RunOptions options;
  std::optional<std::vector<int>> loci;                   // loci kept ("Loci to use"); none: every locus
  std::optional<std::vector<int>> samples;                // samples kept ("Samples to use")
  std::optional<std::vector<std::string>> sample_labels;  // "Label file for pops" in force
  std::optional<Rng> seeds;
};

// The options and the choice of the Options menu: the "settings" of a
// results document, and the body of a settings file.
Json run_settings_json(const RunSettingsFile& s);

// The whole settings file.
Json run_settings_document(const RunSettingsFile& s);

// Reads a settings file's document. Members that are absent keep the page's
// initial state. Throws SettingsError naming the key for an unknown key, a
// value of the wrong type or out of range, or a file of another kind.
RunSettingsFile parse_run_settings(const Json& doc);

// The Options menu's choice for a data file of np samples and nl loci, as the
// window makes it: a list that keeps every locus (or sample) leaves its mark
// off. Throws SettingsError when a number lies outside the file or there are
// fewer labels than samples.
Selection selection_for_file(const RunSettingsFile& s, int np, int nl);

// Records the window's choice, made on a data file of np samples and nl loci.
void record_selection(const Selection& sel, bool labels_checked, int np, int nl, RunSettingsFile& s);

// Writes the settings file (replaced only once complete); OutputError names
// the file and the reason when it cannot be written.
void write_run_settings_file(const std::string& path, const RunSettingsFile& s);

// For the settings files of every page. The members every settings file
// starts with: format, format_version, page.
Json settings_head(const char* page);
// A page's whole settings file: the head, the page's controls (`body`, an
// object) and the seeds (null when they were not asked for).
Json settings_document(const char* page, const Json& body, const std::optional<Rng>& seeds);
// A member of `doc` that is a whole number in lo..hi, or `initial` when it
// is absent; SettingsError names the key otherwise.
int32_t read_settings_count(const Json& doc, const char* key, int32_t initial, int32_t lo, int32_t hi);
// A member of `doc` that is true or false, or `initial` when it is absent.
bool read_settings_flag(const Json& doc, const char* key, bool initial);
// Throws SettingsError unless `doc` is an object that starts like that.
void expect_settings_head(const Json& doc, const char* page);
// SettingsError naming the key for a member of `obj` not in `known`
// (`where` + "." + key).
void refuse_unknown_keys(const Json& obj, std::initializer_list<const char*> known, const std::string& where);
// A list of at least `minimum` different numbers in 1..largest, ascending;
// nothing for null. SettingsError names `key` otherwise.
std::optional<std::vector<int>> read_number_list(const Json& value, const std::string& key, int largest,
                                                 size_t minimum);
// Two seeds in range, or nothing for null.
std::optional<Rng> read_settings_seeds(const Json& value);
// The file read (at most 1 MiB) and parsed; SettingsError names the file.
Json read_settings_json(const std::string& path);

// Which of `names` a list of names ticks; SettingsError names `key` for a
// value that is not a list or a name not among them.
template <size_t N>
std::array<bool, N> read_named_flags(const Json& value, const std::string& key,
                                     const std::array<const char*, N>& names) {
  std::string known;
  for (const char* n : names) known += (known.empty() ? "" : ", ") + std::string(n);
  if (!value.is_array()) throw SettingsError(key + ": expected a list of names among " + known);
  std::array<bool, N> ticked{};
  for (const Json& name : value) {
    size_t i = 0;
    while (i < N && !(name.is_string() && name.get<std::string>() == names[i])) ++i;
    if (i == N) throw SettingsError(key + ": " + name.dump() + " is not one of " + known);
    ticked[i] = true;
  }
  return ticked;
}

// The file read and parsed by `parse` (a page's parse_..._settings); the
// SettingsError names the file.
template <class Parse>
auto read_settings_file(const std::string& path, Parse parse) -> decltype(parse(Json())) {
  const Json doc = read_settings_json(path);
  try {
    return parse(doc);
  } catch (const SettingsError& e) {
    throw SettingsError("The settings file " + path + ": " + e.what());
  }
}

// Reads and parses the file; SettingsError names the file when it cannot be
// read or is not JSON.
RunSettingsFile read_run_settings_file(const std::string& path);

}  // namespace torvi
