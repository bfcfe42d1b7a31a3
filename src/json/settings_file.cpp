#include "json/settings_file.h"

#include <algorithm>
#include <fstream>

#include "model/limits.h"
#include "json/document.h"
#include "util/output_file.h"

namespace torvi {

namespace {

constexpr const char* kRunPage = "run";
constexpr size_t kLabelLength = 6;  // labels are cut like a label file's lines
constexpr size_t kMinLoci = 1, kMinSamples = 2;
// A settings file is a page of options; anything larger is not one, and is
// not read whole.
constexpr std::streamsize kMaxSettingsBytes = 1 << 20;

template <class T>
Json optional_json(const std::optional<T>& v) {
  return v ? Json(*v) : Json();
}

std::optional<std::vector<std::string>> read_labels(const Json& value, const std::string& key) {
  if (value.is_null()) return std::nullopt;
  if (!value.is_array()) throw SettingsError(key + ": expected a list of sample labels (or null)");
  std::vector<std::string> out;
  for (const Json& l : value) {
    if (!l.is_string()) throw SettingsError(key + ": " + l.dump() + " is not a text");
    out.push_back(l.get<std::string>().substr(0, kLabelLength));
  }
  return out;
}

void read_selection(const Json& sel, RunSettingsFile& s) {
  if (!sel.is_object()) throw SettingsError("selection: expected an object");
  refuse_unknown_keys(sel, {"loci", "samples", "sample_labels"}, "selection");
  if (sel.contains("loci")) s.loci = read_number_list(sel["loci"], "selection.loci", NLMax, kMinLoci);
  if (sel.contains("samples")) s.samples = read_number_list(sel["samples"], "selection.samples", NPMax, kMinSamples);
  if (sel.contains("sample_labels")) s.sample_labels = read_labels(sel["sample_labels"], "selection.sample_labels");
}

void expect_member(const Json& doc, const char* key, const Json& wanted) {
  if (!doc.contains(key) || doc[key] != wanted)
    throw SettingsError(std::string(key) + ": expected " + wanted.dump() +
                        (doc.contains(key) ? ", found " + doc[key].dump() : ", missing"));
}

// Flags [0..count] for the kept numbers; the mark is set when some are dropped.
void choose(const std::optional<std::vector<int>>& kept, int count, const char* key, std::vector<uint8_t>& flags,
            bool& checked) {
  flags.assign(static_cast<size_t>(count) + 1, 1);
  if (!kept) return;
  if (kept->back() > count)
    throw SettingsError(std::string(key) + ": " + std::to_string(kept->back()) + " is outside a data file of " +
                        std::to_string(count));
  std::fill(flags.begin() + 1, flags.end(), 0);
  for (int n : *kept) flags[static_cast<size_t>(n)] = 1;
  checked = static_cast<int>(kept->size()) < count;
}

std::optional<std::vector<int>> kept_numbers(bool checked, int count, const std::vector<uint8_t>& flags) {
  if (!checked) return std::nullopt;
  std::vector<int> out;
  for (int n = 1; n <= count; ++n)
    if (static_cast<size_t>(n) >= flags.size() || flags[static_cast<size_t>(n)]) out.push_back(n);
  return out;
}

}  // namespace

void refuse_unknown_keys(const Json& obj, std::initializer_list<const char*> known, const std::string& where) {
  for (auto it = obj.begin(); it != obj.end(); ++it)
    if (std::none_of(known.begin(), known.end(), [&](const char* k) { return it.key() == k; }))
      throw SettingsError((where.empty() ? "" : where + ".") + it.key() + ": unknown key");
}

std::optional<std::vector<int>> read_number_list(const Json& value, const std::string& key, int largest,
                                                 size_t minimum) {
  if (value.is_null()) return std::nullopt;
  const std::string wanted = "a list of at least " + std::to_string(minimum) + " different numbers in 1.." +
                             std::to_string(largest) + " (or null for all)";
  if (!value.is_array() || value.size() < minimum) throw SettingsError(key + ": expected " + wanted);
  std::vector<int> out;
  for (const Json& n : value) {
    if (!n.is_number_integer() || n.get<int64_t>() < 1 || n.get<int64_t>() > largest)
      throw SettingsError(key + ": " + n.dump() + " is not a number in 1.." + std::to_string(largest));
    out.push_back(static_cast<int>(n.get<int64_t>()));
  }
  std::sort(out.begin(), out.end());
  if (std::adjacent_find(out.begin(), out.end()) != out.end()) throw SettingsError(key + ": a number is repeated");
  return out;
}

std::optional<Rng> read_settings_seeds(const Json& value) {
  if (value.is_null()) return std::nullopt;
  const auto in = [](const Json& v, int32_t max) {
    return v.is_number_integer() && v.get<int64_t>() >= 1 && v.get<int64_t>() <= max;
  };
  if (!value.is_array() || value.size() != 2 || !in(value[0], kSeed1Max) || !in(value[1], kSeed2Max))
    throw SettingsError("seeds: " + value.dump() + " is not two seeds, the first in 1.." +
                        std::to_string(kSeed1Max) + " and the second in 1.." + std::to_string(kSeed2Max));
  return Rng(static_cast<int32_t>(value[0].get<int64_t>()), static_cast<int32_t>(value[1].get<int64_t>()));
}

Json settings_head(const char* page) {
  return {{"format", kSettingsFormat}, {"format_version", kDocumentFormatVersion}, {"page", page}};
}

Json settings_document(const char* page, const Json& body, const std::optional<Rng>& seeds) {
  Json doc = settings_head(page);
  doc.update(body);
  doc["seeds"] = seeds ? seeds_json(*seeds) : Json();
  return doc;
}

int32_t read_settings_count(const Json& doc, const char* key, int32_t initial, int32_t lo, int32_t hi) {
  const Json v = doc.value(key, Json(initial));
  if (!v.is_number_integer() || v.get<int64_t>() < lo || v.get<int64_t>() > hi)
    throw SettingsError(std::string(key) + ": expected a number in " + std::to_string(lo) + ".." + std::to_string(hi));
  return static_cast<int32_t>(v.get<int64_t>());
}

bool read_settings_flag(const Json& doc, const char* key, bool initial) {
  const Json v = doc.value(key, Json(initial));
  if (!v.is_boolean()) throw SettingsError(std::string(key) + ": expected true or false");
  return v.get<bool>();
}

void expect_settings_head(const Json& doc, const char* page) {
  if (!doc.is_object()) throw SettingsError("expected a JSON object");
  expect_member(doc, "format", kSettingsFormat);
  expect_member(doc, "format_version", kDocumentFormatVersion);
  expect_member(doc, "page", page);
}

Selection selection_for_file(const RunSettingsFile& s, int np, int nl) {
  Selection sel;
  choose(s.loci, nl, "selection.loci", sel.locus_selected, sel.loci_checked);
  choose(s.samples, np, "selection.samples", sel.sample_selected, sel.samples_checked);
  sel.sample_names.assign(static_cast<size_t>(np) + 1, "");
  if (s.sample_labels) {
    if (static_cast<int>(s.sample_labels->size()) < np)
      throw SettingsError("selection.sample_labels: " + std::to_string(s.sample_labels->size()) +
                          " labels for a data file of " + std::to_string(np) + " samples");
    std::copy_n(s.sample_labels->begin(), np, sel.sample_names.begin() + 1);
  }
  return sel;
}

void record_selection(const Selection& sel, bool labels_checked, int np, int nl, RunSettingsFile& s) {
  s.loci = kept_numbers(sel.loci_checked, nl, sel.locus_selected);
  s.samples = kept_numbers(sel.samples_checked, np, sel.sample_selected);
  s.sample_labels.reset();
  s.options.label_file_checked = labels_checked;
  if (labels_checked) {
    s.sample_labels.emplace();
    for (int p = 1; p <= np; ++p)
      s.sample_labels->push_back(static_cast<size_t>(p) < sel.sample_names.size() ? sel.sample_names[static_cast<size_t>(p)]
                                                                                   : std::string());
  }
}

Json run_settings_json(const RunSettingsFile& s) {
  Json j = Json::object();
  j["options"] = run_options_json(s.options);
  j["selection"] = {{"loci", optional_json(s.loci)},
                    {"samples", optional_json(s.samples)},
                    {"sample_labels", optional_json(s.sample_labels)}};
  return j;
}

Json run_settings_document(const RunSettingsFile& s) { return settings_document(kRunPage, run_settings_json(s), s.seeds); }

RunSettingsFile parse_run_settings(const Json& doc) {
  expect_settings_head(doc, kRunPage);
  refuse_unknown_keys(doc, {"format", "format_version", "page", "options", "selection", "seeds"}, "");
  RunSettingsFile s;
  if (doc.contains("options")) read_run_options(doc["options"], s.options);
  if (doc.contains("selection")) read_selection(doc["selection"], s);
  if (doc.contains("seeds")) s.seeds = read_settings_seeds(doc["seeds"]);
  s.options.label_file_checked = s.sample_labels.has_value();
  return s;
}

void write_run_settings_file(const std::string& path, const RunSettingsFile& s) {
  write_file_atomically(path, json_text(run_settings_document(s)));
}

Json read_settings_json(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SettingsError("Cannot read the settings file " + path);
  std::string text(static_cast<size_t>(kMaxSettingsBytes) + 1, '\0');
  in.read(text.data(), kMaxSettingsBytes + 1);
  if (in.gcount() > kMaxSettingsBytes) throw SettingsError("The file " + path + " is too large to be a settings file");
  text.resize(static_cast<size_t>(in.gcount()));
  Json doc;
  try {
    doc = Json::parse(text);
  } catch (const Json::exception& e) {
    throw SettingsError("The settings file " + path + " is not JSON: " + e.what());
  }
  return doc;
}

RunSettingsFile read_run_settings_file(const std::string& path) {
  return read_settings_file(path, parse_run_settings);
}

}  // namespace torvi
