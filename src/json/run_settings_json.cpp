#include "json/run_settings_json.h"

#include <array>
#include <limits>
#include <utility>
#include <variant>

namespace torvi {

namespace {

struct Count {
  int32_t RunOptions::*member;
  int32_t max;
};

using Member = std::variant<bool RunOptions::*, Count, NominalLevel RunOptions::*, PopDiff RunOptions::*,
                            LdTests RunOptions::*>;

struct Control {
  const char* key;
  Member member;
};

constexpr int32_t kSpinMax = std::numeric_limits<int32_t>::max();

// In the order of the page, top to bottom.
const std::array kControls{
    Control{"allele_freq", &RunOptions::CB_allfreq},
    Control{"genotype_freq", &RunOptions::CB_genotfreq},
    Control{"nb_alleles", &RunOptions::CB_nal},
    Control{"richness", &RunOptions::CB_Rar},
    Control{"gene_div", &RunOptions::CB_genediv},
    Control{"fis", &RunOptions::CB_fis},
    Control{"nei", &RunOptions::CB_nei},
    Control{"wc", &RunOptions::CB_WC},
    Control{"rst", &RunOptions::CB_Rst},
    Control{"fst_pairs", &RunOptions::CB_Fstpp},
    Control{"hw_within", &RunOptions::CB_HWW},
    Control{"hw_within_perm", Count{&RunOptions::SpinEdit1, kGlobalPermutationsMax}},
    Control{"hw_overall", &RunOptions::CB_HWO},
    Control{"hw_overall_perm", Count{&RunOptions::SpinEdit2, kGlobalPermutationsMax}},
    Control{"popdiff", &RunOptions::RG_popdif},
    Control{"popdiff_nohw_perm", Count{&RunOptions::SpinEdit3, kGlobalPermutationsMax}},
    Control{"popdiff_hw_perm", Count{&RunOptions::SpinEdit4, kGlobalPermutationsMax}},
    Control{"hw_per_sample", &RunOptions::CB_IFis},
    Control{"level", &RunOptions::RG_MT},
    Control{"pairwise_tests", &RunOptions::CB_PPFst},
    Control{"perm", Count{&RunOptions::SpinEdit5, kSpinMax}},
    Control{"ld_delta", &RunOptions::CB_dp},
    Control{"ld_r2", &RunOptions::CB_r},
    Control{"ld_details", &RunOptions::CB_details},
    Control{"ld_tables", &RunOptions::CB_Savetables},
    Control{"ld_tests", &RunOptions::RG_GDT},
    Control{"ld_level", &RunOptions::RG_MTG},
    Control{"ld_perm", Count{&RunOptions::SpinEdit8, kSpinMax}},
    Control{"json", &RunOptions::CB_json},
};

constexpr std::array kLevelNames{std::pair{NominalLevel::none, "none"}, std::pair{NominalLevel::p5_100, "5/100"},
                                 std::pair{NominalLevel::p1_100, "1/100"}, std::pair{NominalLevel::p1_1000, "1/1000"},
                                 std::pair{NominalLevel::fixed, "fixed"}};
constexpr std::array kPopDiffNames{std::pair{PopDiff::no_test, "none"}, std::pair{PopDiff::not_assuming_hw, "nohw"},
                                   std::pair{PopDiff::assuming_hw, "hw"}};
constexpr std::array kLdTestNames{std::pair{LdTests::no_tests, "none"}, std::pair{LdTests::all_pairs, "all"},
                                  std::pair{LdTests::pairs_in_each_sample, "per-sample"}};

template <class E>
const auto& names_of() {
  if constexpr (std::is_same_v<E, NominalLevel>)
    return kLevelNames;
  else if constexpr (std::is_same_v<E, PopDiff>)
    return kPopDiffNames;
  else
    return kLdTestNames;
}

template <class E>
const char* name_of(E value) {
  for (const auto& [v, name] : names_of<E>())
    if (v == value) return name;
  return names_of<E>()[0].second;
}

template <class E>
E choice_of(const Json& value, const std::string& key) {
  std::string allowed;
  for (const auto& [v, name] : names_of<E>()) {
    if (value.is_string() && value.get_ref<const std::string&>() == name) return v;
    allowed += std::string(allowed.empty() ? "" : ", ") + "\"" + name + "\"";
  }
  throw SettingsError(key + ": " + value.dump() + " is not one of " + allowed);
}

void read_control(const Control& c, const Json& value, RunOptions& o, const std::string& key) {
  std::visit(
      [&](auto member) {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, bool RunOptions::*>) {
          if (!value.is_boolean()) throw SettingsError(key + ": " + value.dump() + " is not true or false");
          o.*member = value.get<bool>();
        } else if constexpr (std::is_same_v<M, Count>) {
          if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > member.max)
            throw SettingsError(key + ": " + value.dump() + " is not a whole number in 0.." +
                                std::to_string(member.max));
          o.*member.member = static_cast<int32_t>(value.get<int64_t>());
        } else {
          using E = std::remove_reference_t<decltype(o.*member)>;
          o.*member = choice_of<E>(value, key);
        }
      },
      c.member);
}

}  // namespace

Json run_options_json(const RunOptions& o) {
  Json j = Json::object();
  for (const Control& c : kControls) {
    std::visit(
        [&](auto member) {
          using M = decltype(member);
          if constexpr (std::is_same_v<M, bool RunOptions::*>)
            j[c.key] = o.*member;
          else if constexpr (std::is_same_v<M, Count>)
            j[c.key] = o.*member.member;
          else
            j[c.key] = name_of(o.*member);
        },
        c.member);
  }
  return j;
}

void read_run_options(const Json& options, RunOptions& o, const std::string& where) {
  if (!options.is_object()) throw SettingsError(where + ": expected an object of options");
  for (auto it = options.begin(); it != options.end(); ++it) {
    const std::string key = where + "." + it.key();
    const auto c = std::find_if(kControls.begin(), kControls.end(),
                                [&](const Control& control) { return it.key() == control.key; });
    if (c == kControls.end()) throw SettingsError(key + ": unknown key");
    read_control(*c, it.value(), o, key);
  }
}

}  // namespace torvi
