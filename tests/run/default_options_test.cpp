#include "run/default_options.h"

#include <map>

#include <gtest/gtest.h>

namespace torvi {
namespace {

// A settings store in memory; values of either type under one name.
class MemoryStore : public SettingsStore {
 public:
  std::map<std::string, bool> bools;
  std::map<std::string, int32_t> ints;
  bool exists = false;

  bool key_exists() const override { return exists; }
  std::optional<bool> read_bool(const std::string& name) const override {
    auto it = bools.find(name);
    if (it == bools.end()) return std::nullopt;
    return it->second;
  }
  std::optional<int32_t> read_int(const std::string& name) const override {
    auto it = ints.find(name);
    if (it == ints.end()) return std::nullopt;
    return it->second;
  }
  void write_bool(const std::string& name, bool value) override {
    exists = true;
    bools[name] = value;
  }
  void write_int(const std::string& name, int32_t value) override {
    exists = true;
    ints[name] = value;
  }
};

TEST(DefaultOptionsStore, WritesTheSixteenValuesAndTheJsonChoiceUnderTheirNames) {
  MemoryStore store;
  DefaultOptions d;
  d.Pop_Diff = true;
  d.nbperm_PDNHW = 700;
  write_default_options(store, d);
  EXPECT_EQ(store.bools.size(), 13u);
  EXPECT_EQ(store.ints.size(), 4u);
  for (const char* name : {"nb_alleles", "Gene_div", "allele_freq", "genot_freq", "Fis", "Nei", "Weir_and_Cock", "Rst",
                           "Fst_per_pair", "HWW", "HWO", "Pop Diff", "json_file"})
    EXPECT_TRUE(store.bools.count(name)) << name;
  for (const char* name : {"nbperm HWW", "nbperm HWO", "nbperm PDHW", "nbperm PDNHW"})
    EXPECT_TRUE(store.ints.count(name)) << name;
  EXPECT_TRUE(store.bools["Pop Diff"]);
  EXPECT_EQ(store.ints["nbperm PDNHW"], 700);

  auto back = read_default_options(store);
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->Pop_Diff);
  EXPECT_EQ(back->nbperm_PDNHW, 700);
}

TEST(DefaultOptionsStore, JsonChoiceGoesFromTheDialogToTheWindowAtOpen) {
  DefaultOptionsForm f;
  f.CB_json = true;
  MemoryStore store;
  write_default_options(store, default_options_from_form(f));
  RunOptions w;
  NbPerm nb;
  apply_default_options(read_default_options(store), w, nb);
  EXPECT_TRUE(w.CB_json);
  apply_default_options(std::nullopt, w, nb);
  EXPECT_FALSE(w.CB_json) << "not ticked by the fixed defaults";
}

TEST(DefaultOptionsStore, NothingStoredReadsAsNothing) {
  MemoryStore store;
  EXPECT_FALSE(read_default_options(store));
}

TEST(DefaultOptionsAtOpen, FixedDefaultsReplaceTheWindowsTicks) {
  RunOptions w;
  w.CB_Rst = w.CB_IFis = w.CB_PPFst = w.CB_HWW = true;
  w.CB_allfreq = false;
  w.RG_popdif = PopDiff::assuming_hw;
  w.SpinEdit1 = 500;
  NbPerm nb;
  apply_default_options(std::nullopt, w, nb);
  EXPECT_TRUE(w.CB_allfreq && w.CB_nal && w.CB_genediv && w.CB_nei && w.CB_WC);
  EXPECT_FALSE(w.CB_genotfreq || w.CB_fis || w.CB_Rst || w.CB_Fstpp || w.CB_IFis || w.CB_HWW || w.CB_HWO ||
               w.CB_PPFst);
  EXPECT_EQ(w.RG_popdif, PopDiff::no_test);
  EXPECT_EQ(w.SpinEdit1, 500);  // spin edits are not part of the fixed defaults
  EXPECT_EQ(nb.perm_hw_within, 0);
}

TEST(DefaultOptionsAtOpen, StoredCountsChooseThePopulationDifferentiationItem) {
  DefaultOptions d;
  d.nbperm_PDHW = 1000;
  d.nbperm_PDNHW = 500;
  d.nbperm_HWW = 300;
  d.nbperm_HWO = 1000;
  RunOptions w;
  w.CB_IFis = true;  // not a stored value: left as it is
  NbPerm nb;
  apply_default_options(d, w, nb);
  EXPECT_EQ(w.RG_popdif, PopDiff::assuming_hw);
  EXPECT_EQ(w.SpinEdit4, 1000);
  EXPECT_EQ(w.SpinEdit3, 500);
  EXPECT_EQ(w.SpinEdit1, 300);
  EXPECT_EQ(w.SpinEdit2, 1000);
  EXPECT_TRUE(w.CB_IFis);
  EXPECT_EQ(nb.perm_popdiff_hw_default, 1000);
  EXPECT_EQ(nb.perm_popdiff_nohw, 500);
  EXPECT_EQ(nb.perm_hw_within, 300);
  EXPECT_EQ(nb.perm_hw_overall, 1000);

  d.nbperm_PDHW = 0;
  apply_default_options(d, w, nb);
  EXPECT_EQ(w.RG_popdif, PopDiff::not_assuming_hw);
  d.nbperm_PDNHW = 0;
  apply_default_options(d, w, nb);
  EXPECT_EQ(w.RG_popdif, PopDiff::no_test);
}

TEST(DefaultOptionsForm, OkStoresCountsOfTickedTestsOnly) {
  DefaultOptionsForm f;
  f.E_HWW = "400";  // not ticked
  f.CB_HWO = true;
  f.E_HWO = "500";
  f.CB_PopDiff = true;
  f.RG_popdif = 0;
  f.E_PDHW = "2000";
  f.E_PDNHW = "900";  // item not chosen
  DefaultOptions d = default_options_from_form(f);
  EXPECT_EQ(d.nbperm_HWW, 0);
  EXPECT_EQ(d.nbperm_HWO, 2000);
  EXPECT_EQ(d.nbperm_PDHW, 2000);
  EXPECT_EQ(d.nbperm_PDNHW, 0);
  EXPECT_TRUE(d.Pop_Diff);

  f.CB_HWO = true;
  f.E_HWO = "x12";  // not a number: 0
  f.RG_popdif = 1;
  d = default_options_from_form(f);
  EXPECT_EQ(d.nbperm_HWO, 0);
  EXPECT_EQ(d.nbperm_PDNHW, 900);
}

TEST(DefaultOptionsForm, ChecksDemandAtLeast200ForEveryEnabledTest) {
  DefaultOptionsForm f;
  f.CB_HWW = true;
  f.E_HWW = "150";
  f.CB_HWO = true;
  f.E_HWO = "200";
  EXPECT_TRUE(correct_default_options_form(f));
  EXPECT_FALSE(f.CB_HWW);
  EXPECT_EQ(f.E_HWW, "0");
  EXPECT_TRUE(f.CB_HWO);
  EXPECT_EQ(f.E_HWO, "200");
  EXPECT_FALSE(correct_default_options_form(f));

  f.CB_PopDiff = true;
  f.RG_popdif = 1;
  f.E_PDHW = "5000";
  f.E_PDNHW = "199";
  EXPECT_TRUE(correct_default_options_form(f));
  EXPECT_EQ(f.E_PDNHW, "0");
  EXPECT_EQ(f.E_PDHW, "0");
  EXPECT_TRUE(f.CB_PopDiff);

  f.RG_popdif = -1;  // ticked without an item: nothing to test
  f.E_PDHW = "7";
  EXPECT_FALSE(correct_default_options_form(f));

  f.CB_PopDiff = false;
  EXPECT_FALSE(correct_default_options_form(f));
  EXPECT_EQ(f.E_PDHW, "0");
}

TEST(DefaultOptionsForm, CountTextsThatAreNotNumbersCountAsZero) {
  EXPECT_EQ(count_text_value("  250"), 250);
  EXPECT_EQ(count_text_value("+7"), 7);
  EXPECT_EQ(count_text_value("-7"), -7);
  EXPECT_EQ(count_text_value(""), 0);
  EXPECT_EQ(count_text_value("250 "), 0);
  EXPECT_EQ(count_text_value("1e3"), 0);
  EXPECT_EQ(count_text_value("99999999999"), 0);
}

}  // namespace
}  // namespace torvi
