#include "run/default_options.h"

#include <algorithm>
#include <cctype>

namespace torvi {

namespace {

struct BoolValue {
  const char* name;
  bool DefaultOptions::*field;
};

constexpr BoolValue kBoolValues[] = {
    {"nb_alleles", &DefaultOptions::nb_alleles},
    {"Gene_div", &DefaultOptions::Gene_div},
    {"allele_freq", &DefaultOptions::allele_freq},
    {"genot_freq", &DefaultOptions::genot_freq},
    {"Fis", &DefaultOptions::Fis},
    {"Nei", &DefaultOptions::Nei},
    {"Weir_and_Cock", &DefaultOptions::Weir_and_Cock},
    {"Rst", &DefaultOptions::Rst},
    {"Fst_per_pair", &DefaultOptions::Fst_per_pair},
    {"HWW", &DefaultOptions::HWW},
    {"HWO", &DefaultOptions::HWO},
    {"Pop Diff", &DefaultOptions::Pop_Diff},
    {"json_file", &DefaultOptions::json_file},
};

struct IntValue {
  const char* name;
  int32_t DefaultOptions::*field;
};

constexpr IntValue kIntValues[] = {
    {"nbperm HWW", &DefaultOptions::nbperm_HWW},
    {"nbperm HWO", &DefaultOptions::nbperm_HWO},
    {"nbperm PDHW", &DefaultOptions::nbperm_PDHW},
    {"nbperm PDNHW", &DefaultOptions::nbperm_PDNHW},
};

bool at_least_minimum(const std::string& text) {
  return count_text_value(text) >= kMinDefaultPermutations;
}

}  // namespace

std::optional<DefaultOptions> read_default_options(const SettingsStore& store) {
  if (!store.key_exists()) return std::nullopt;
  DefaultOptions d;
  for (const auto& v : kBoolValues)
    if (auto b = store.read_bool(v.name)) d.*v.field = *b;
  for (const auto& v : kIntValues)
    if (auto i = store.read_int(v.name)) d.*v.field = *i;
  return d;
}

void write_default_options(SettingsStore& store, const DefaultOptions& options) {
  for (const auto& v : kBoolValues) store.write_bool(v.name, options.*v.field);
  for (const auto& v : kIntValues) store.write_int(v.name, options.*v.field);
}

void apply_default_options(const std::optional<DefaultOptions>& stored, RunOptions& w, NbPerm& nb) {
  if (!stored) {
    const DefaultOptions fixed;
    w.CB_allfreq = fixed.allele_freq;
    w.CB_nal = fixed.nb_alleles;
    w.CB_genediv = fixed.Gene_div;
    w.CB_nei = fixed.Nei;
    w.CB_WC = fixed.Weir_and_Cock;
    w.CB_genotfreq = w.CB_fis = w.CB_Rst = w.CB_Fstpp = false;
    w.CB_IFis = w.CB_HWW = w.CB_HWO = w.CB_PPFst = false;
    w.RG_popdif = PopDiff::no_test;
    w.CB_json = fixed.json_file;
    return;
  }
  const DefaultOptions& d = *stored;
  w.CB_nal = d.nb_alleles;
  w.CB_genediv = d.Gene_div;
  w.CB_allfreq = d.allele_freq;
  w.CB_genotfreq = d.genot_freq;
  w.CB_fis = d.Fis;
  w.CB_nei = d.Nei;
  w.CB_WC = d.Weir_and_Cock;
  w.CB_Rst = d.Rst;
  w.CB_Fstpp = d.Fst_per_pair;
  w.CB_HWW = d.HWW;
  w.CB_HWO = d.HWO;
  w.CB_json = d.json_file;
  w.RG_popdif = d.nbperm_PDHW > 0    ? PopDiff::assuming_hw
                : d.nbperm_PDNHW > 0 ? PopDiff::not_assuming_hw
                                     : PopDiff::no_test;
  nb.perm_hw_within = w.SpinEdit1 = d.nbperm_HWW;
  nb.perm_hw_overall = w.SpinEdit2 = d.nbperm_HWO;
  nb.perm_popdiff_hw_default = w.SpinEdit4 = d.nbperm_PDHW;
  nb.perm_popdiff_nohw = w.SpinEdit3 = d.nbperm_PDNHW;
}

int32_t count_text_value(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return 0;
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

DefaultOptions default_options_from_form(const DefaultOptionsForm& f) {
  DefaultOptions d;
  d.nb_alleles = f.CB_nal;
  d.Gene_div = f.CB_genediv;
  d.allele_freq = f.CB_allfreq;
  d.genot_freq = f.CB_genotfreq;
  d.Fis = f.CB_fis;
  d.Nei = f.CB_nei;
  d.Weir_and_Cock = f.CB_WC;
  d.Rst = f.CB_Rst;
  d.Fst_per_pair = f.CB_Fstpp;
  d.HWW = f.CB_HWW;
  d.HWO = f.CB_HWO;
  d.Pop_Diff = f.CB_PopDiff;
  d.json_file = f.CB_json;
  d.nbperm_HWW = f.CB_HWW ? count_text_value(f.E_HWW) : 0;
  d.nbperm_HWO = f.CB_HWO ? count_text_value(f.E_HWO) : 0;
  d.nbperm_PDHW = f.RG_popdif == 0 ? count_text_value(f.E_PDHW) : 0;
  d.nbperm_HWO = std::max(d.nbperm_HWO, d.nbperm_PDHW);
  d.nbperm_PDNHW = f.RG_popdif == 1 ? count_text_value(f.E_PDNHW) : 0;
  return d;
}

bool correct_default_options_form(DefaultOptionsForm& f) {
  bool again = false;
  auto check_test = [&again](bool& ticked, std::string& edit) {
    if (ticked && !at_least_minimum(edit)) {
      ticked = false;
      edit = "0";
      again = true;
    }
  };
  check_test(f.CB_HWW, f.E_HWW);
  check_test(f.CB_HWO, f.E_HWO);
  if (!f.CB_PopDiff) {
    f.E_PDHW = f.E_PDNHW = "0";
    return again;
  }
  auto check_count = [&again](std::string& chosen, std::string& other) {
    if (!at_least_minimum(chosen)) {
      chosen = "0";
      again = true;
    }
    other = "0";
  };
  if (f.RG_popdif == 0) check_count(f.E_PDHW, f.E_PDNHW);
  if (f.RG_popdif == 1) check_count(f.E_PDNHW, f.E_PDHW);
  return again;
}

}  // namespace torvi
