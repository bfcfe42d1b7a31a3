#include "json/run_settings_json.h"

#include <array>
#include <utility>
#include <variant>

namespace torvi {

namespace {

using Member = std::variant<bool RunOptions::*, int32_t RunOptions::*, NominalLevel RunOptions::*,
                            PopDiff RunOptions::*, LdTests RunOptions::*>;

struct Control {
  const char* key;
  Member member;
};

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
    Control{"hw_within_perm", &RunOptions::SpinEdit1},
    Control{"hw_overall", &RunOptions::CB_HWO},
    Control{"hw_overall_perm", &RunOptions::SpinEdit2},
    Control{"popdiff", &RunOptions::RG_popdif},
    Control{"popdiff_nohw_perm", &RunOptions::SpinEdit3},
    Control{"popdiff_hw_perm", &RunOptions::SpinEdit4},
    Control{"hw_per_sample", &RunOptions::CB_IFis},
    Control{"level", &RunOptions::RG_MT},
    Control{"pairwise_tests", &RunOptions::CB_PPFst},
    Control{"perm", &RunOptions::SpinEdit5},
    Control{"ld_delta", &RunOptions::CB_dp},
    Control{"ld_r2", &RunOptions::CB_r},
    Control{"ld_details", &RunOptions::CB_details},
    Control{"ld_tables", &RunOptions::CB_Savetables},
    Control{"ld_tests", &RunOptions::RG_GDT},
    Control{"ld_level", &RunOptions::RG_MTG},
    Control{"ld_perm", &RunOptions::SpinEdit8},
    Control{"label_file", &RunOptions::label_file_checked},
};

constexpr std::array kLevelNames{std::pair{NominalLevel::none, "none"}, std::pair{NominalLevel::p5_100, "5/100"},
                                 std::pair{NominalLevel::p1_100, "1/100"}, std::pair{NominalLevel::p1_1000, "1/1000"},
                                 std::pair{NominalLevel::fixed, "fixed"}};
constexpr std::array kPopDiffNames{std::pair{PopDiff::no_test, "none"}, std::pair{PopDiff::not_assuming_hw, "nohw"},
                                   std::pair{PopDiff::assuming_hw, "hw"}};
constexpr std::array kLdTestNames{std::pair{LdTests::no_tests, "none"}, std::pair{LdTests::all_pairs, "all"},
                                  std::pair{LdTests::pairs_in_each_sample, "per-sample"}};

template <class E, size_t N>
const char* name_of(const std::array<std::pair<E, const char*>, N>& names, E value) {
  for (const auto& [v, name] : names)
    if (v == value) return name;
  return names[0].second;
}

const char* choice_name(NominalLevel v) { return name_of(kLevelNames, v); }
const char* choice_name(PopDiff v) { return name_of(kPopDiffNames, v); }
const char* choice_name(LdTests v) { return name_of(kLdTestNames, v); }

}  // namespace

Json run_options_json(const RunOptions& o) {
  Json j = Json::object();
  for (const Control& c : kControls) {
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(o.*member)>;
          if constexpr (std::is_same_v<T, const bool> || std::is_same_v<T, const int32_t>)
            j[c.key] = o.*member;
          else
            j[c.key] = choice_name(o.*member);
        },
        c.member);
  }
  return j;
}

}  // namespace torvi
