#include "tool_tooltips.h"

#include <array>

#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>

#include "bias_dispersal_window.h"
#include "groups_page.h"
#include "radio_group.h"
#include "regress_window.h"

namespace torvi::gui {

namespace {

constexpr const char* kJsonTip =
    "Also writes every value of the results at full precision to a JSON document beside the result file.";

// By item of "Statistics to compare among groups:".
constexpr std::array<const char*, kGroupStatistics> kGroupStatisticTips = {
    "Allelic richness rarefied to twice the smallest number of individuals typed, averaged over the loci and the "
    "member samples of each group.",
    "Observed heterozygosity of each group, its member samples pooled, averaged over all loci.",
    "Gene diversity within the member samples of each group, corrected for sample size, averaged over all loci.",
    "Weir and Cockerham's (1984) Fis within the member samples of each group.",
    "Weir and Cockerham's (1984) Fst among the member samples of each group.",
    "Relatedness within the member samples of each group, 2 Fst / (1 + Fit) (Queller and Goodnight 1989).",
    "Relatedness corrected for inbreeding, -2 Fis / (1 - Fis), within the member samples of each group."};

// By item of the list of tests for sex-biased dispersal.
constexpr std::array<const char*, kDispersalTestCount> kDispersalTestTips = {
    "Mean assignment index of the philopatric sex against that of the other sex, as a t statistic: residents are "
    "more likely than immigrants to belong to the sample they were caught in.",
    "Variance of the assignment index of the other sex over that of the philopatric sex: a sex that disperses "
    "mixes residents and immigrants, so its indices vary more.",
    "Fst of the philopatric sex minus Fst of the other sex: the sex that stays is the more differentiated.",
    "Fis of the other sex minus Fis of the philopatric sex: immigrants mixed with residents add to the deficit of "
    "heterozygotes.",
    "Relatedness within samples of the philopatric sex minus that of the other sex.",
    "Observed heterozygosity of the other sex minus that of the philopatric sex.",
    "Gene diversity within samples of the other sex minus that of the philopatric sex."};

template <size_t N>
void tip_items(QListWidget* list, const std::array<const char*, N>& tips) {
  for (size_t i = 0; i < N && static_cast<int>(i) < list->count(); ++i)
    list->item(static_cast<int>(i))->setToolTip(tips[i]);
}

}  // namespace

void add_tooltips(GroupsPage& p) {
  tip_items(p.CLB_Stats, kGroupStatisticTips);
  p.RG_TT2->setToolTip("One sided: is the statistic of group 1 larger than that of group 2? Two sided: the sum of "
                       "the squared differences between groups.");
  p.SpinEdit7->setToolTip("Number of permutations N, the observed groups counted: whole samples are dealt at random "
                          "to the groups; P = (1 + number at least as large) / N.");
  p.CB_json->setToolTip(kJsonTip);
}

void add_tooltips(RegressWindow& w) {
  w.ListBox2->setToolTip("Explanatory variables in the order of the model: each one is tested given those above it.");
  w.SpinEdit1->setToolTip("Number of data sets R, the observed one counted: the smallest P-value is 1 / R.");
  w.CheckBox1->setToolTip("Mantel test: the rows are the cells of the lower triangles of distance matrices, and the "
                          "objects of the matrices are permuted instead of the rows (a partial Mantel test with two "
                          "or more explanatory matrices).");
  w.CheckBox2->setToolTip("Writes the estimate and the residual of every row to a .res file chosen at RUN.");
  w.CB_json->setToolTip(kJsonTip);
}

void add_tooltips(BiasDispersalWindow& w) {
  tip_items(w.CLB_tests, kDispersalTestTips);
  w.SpinEdit1->setToolTip("Number of permutations N, the observed data counted: the sex labels are permuted among "
                          "the individuals of each sample; P = (1 + number at least as extreme) / N.");
  w.RadioGroup2->setToolTip("One sided: differences in the expected direction only; two sided: their sizes (for the "
                            "variance test, the larger variance over the smaller).");
  w.CB_json->setToolTip(kJsonTip);
}

}  // namespace torvi::gui
