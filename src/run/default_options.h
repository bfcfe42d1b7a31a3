#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/perm_counts.h"
#include "model/run_options.h"

namespace torvi {

// The per-user store of default options (a registry key or its equivalent).
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // True when the key exists and can be opened for reading.
  virtual bool key_exists() const = 0;
  // A value that is missing or of the wrong type reads as nothing.
  virtual std::optional<bool> read_bool(const std::string& name) const = 0;
  virtual std::optional<int32_t> read_int(const std::string& name) const = 0;
  // Writing creates the key when needed.
  virtual void write_bool(const std::string& name, bool value) = 0;
  virtual void write_int(const std::string& name, int32_t value) = 0;
};

// The sixteen stored values, named after their value names, and the choice
// "Also write a JSON file" (value "json_file") stored beside them;
// initialised to the fixed defaults.
struct DefaultOptions {
  bool nb_alleles = true;
  bool Gene_div = true;
  bool allele_freq = true;
  bool genot_freq = false;
  bool Fis = false;
  bool Nei = true;
  bool Weir_and_Cock = true;
  bool Rst = false;
  bool Fst_per_pair = false;
  bool HWW = false;
  bool HWO = false;
  bool Pop_Diff = false;
  int32_t nbperm_HWW = 0;
  int32_t nbperm_HWO = 0;
  int32_t nbperm_PDHW = 0;
  int32_t nbperm_PDNHW = 0;
  bool json_file = false;
};

// Nothing when the key does not exist. A value missing from an existing key
// keeps its fixed default.
std::optional<DefaultOptions> read_default_options(const SettingsStore& store);
void write_default_options(SettingsStore& store, const DefaultOptions& options);

// Open: puts the stored options on the main window's first page and into the
// permutation counts, or the fixed defaults when nothing is stored.
void apply_default_options(const std::optional<DefaultOptions>& stored, RunOptions& window, NbPerm& nb_perm);

// The controls of the "Default options" dialog that its OK button reads.
struct DefaultOptionsForm {
  bool CB_nal = true, CB_genediv = true, CB_allfreq = true, CB_genotfreq = false, CB_fis = false;
  bool CB_nei = true, CB_WC = true, CB_Rst = false, CB_Fstpp = false;
  bool CB_HWW = false, CB_HWO = false, CB_PopDiff = false;
  int RG_popdif = -1;  // 0 "Assuming HW within samples", 1 "NOT assuming ...", -1 none
  std::string E_HWW = "0", E_HWO = "0", E_PDHW = "0", E_PDNHW = "0";
  bool CB_json = false;  // "Also write a JSON file"
};

// Integer typed in a count edit; text that is not a number counts as 0.
int32_t count_text_value(const std::string& text);

// What OK stores: counts from the edits of the ticked tests, the overall
// Hardy-Weinberg count raised to the differentiation count (one permutation
// run serves both).
DefaultOptions default_options_from_form(const DefaultOptionsForm& form);

// The checks after OK: every enabled test needs at least 200 permutations.
// Corrects the form and returns true when the dialog must be shown again.
bool correct_default_options_form(DefaultOptionsForm& form);

// Minimum permutations the dialog accepts for a test it enables.
inline constexpr int32_t kMinDefaultPermutations = 200;

}  // namespace torvi
