#include "run_page.h"

#include <climits>

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "radio_group.h"

namespace torvi::gui {

namespace {

constexpr int kSpinStep = 100;
constexpr int kPermutationsMax = 100000;
const QStringList kNominalLevels = {"5/100", "1/100", "1/1000", "fixed #"};

QCheckBox* check_box(const char* name, const QString& caption, bool ticked, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(ticked);
  return box;
}

QSpinBox* spin_edit(const char* name, int value, int max, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  // A negative permutation count means nothing; the counts without a stated
  // limit still stop at zero.
  spin->setRange(0, max);
  spin->setSingleStep(kSpinStep);
  spin->setValue(value);
  spin->setMaximumWidth(90);
  return spin;
}

QGroupBox* group(const char* caption, QWidget* parent) { return new QGroupBox(caption, parent); }

QHBoxLayout* labelled(const char* label, QWidget* control) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(label, control->parentWidget()));
  row->addWidget(control);
  row->addStretch();
  return row;
}

}  // namespace

RunPage::RunPage(QWidget* parent) : QWidget(parent) {
  setObjectName("Torvi");
  const RunOptions initial;

  // Gene diversities and F-Statistics
  auto* diversities = group("Gene diversities and F-Statistics", this);
  auto* per_locus = group("Per locus and sample statistics", diversities);
  CB_allfreq = check_box("CB_allfreq", "Allele frequencies", initial.CB_allfreq, per_locus);
  CB_genotfreq = check_box("CB_genotfreq", "Genotypic frequencies", initial.CB_genotfreq, per_locus);
  CB_nal = check_box("CB_nal", "Number of alleles", initial.CB_nal, per_locus);
  CB_Rar = check_box("CB_Rar", "Allelic richness", initial.CB_Rar, per_locus);
  CB_genediv = check_box("CB_genediv", "Gene diversity", initial.CB_genediv, per_locus);
  CB_fis = check_box("CB_fis", "Fis ", initial.CB_fis, per_locus);
  auto* per_locus_layout = new QVBoxLayout(per_locus);
  for (QCheckBox* b : {CB_allfreq, CB_genotfreq, CB_nal, CB_Rar, CB_genediv, CB_fis}) per_locus_layout->addWidget(b);
  auto* global_stats = group("Global statistics", diversities);
  global_stats->setObjectName("GB_Torvi");
  CB_nei = check_box("CB_nei", "Nei's F-statistics", initial.CB_nei, global_stats);
  CB_WC = check_box("CB_WC", "Weir and Cockerham's F-statistics", initial.CB_WC, global_stats);
  CB_Rst = check_box("CB_Rst", "Rho_st", initial.CB_Rst, global_stats);
  CB_Fstpp = check_box("CB_Fstpp", "Fst per pair of samples", initial.CB_Fstpp, global_stats);
  auto* global_layout = new QVBoxLayout(global_stats);
  for (QCheckBox* b : {CB_nei, CB_WC, CB_Rst, CB_Fstpp}) global_layout->addWidget(b);
  auto* diversities_layout = new QVBoxLayout(diversities);
  diversities_layout->addWidget(per_locus);
  diversities_layout->addWidget(global_stats);
  diversities_layout->addStretch();

  // Testing
  auto* testing = group("Testing", this);
  auto* global_tests = group("Global Tests", testing);
  CB_HWW = check_box("CB_HWW", "Hardy Weinberg within samples", initial.CB_HWW, global_tests);
  SpinEdit1 = spin_edit("SpinEdit1", initial.SpinEdit1, kPermutationsMax, global_tests);
  CB_HWO = check_box("CB_HWO", "Hardy Weinberg overall samples", initial.CB_HWO, global_tests);
  SpinEdit2 = spin_edit("SpinEdit2", initial.SpinEdit2, kPermutationsMax, global_tests);
  RG_popdif = new RadioGroup("RG_popdif", "Population differentiation",
                             {"NO test", "Test NOT assuming HW within samples ", "Test assuming HW within samples"}, 1,
                             global_tests);
  RG_popdif->set_item_index(static_cast<int>(initial.RG_popdif));
  SpinEdit3 = spin_edit("SpinEdit3", initial.SpinEdit3, kPermutationsMax, RG_popdif);
  SpinEdit4 = spin_edit("SpinEdit4", initial.SpinEdit4, kPermutationsMax, RG_popdif);
  RG_popdif->add_beside(1, SpinEdit3);
  RG_popdif->add_beside(2, SpinEdit4);
  auto* tests_layout = new QGridLayout(global_tests);
  tests_layout->addWidget(CB_HWW, 0, 0);
  tests_layout->addWidget(SpinEdit1, 0, 1);
  tests_layout->addWidget(CB_HWO, 1, 0);
  tests_layout->addWidget(SpinEdit2, 1, 1);
  tests_layout->addWidget(RG_popdif, 2, 0, 1, 2);
  CB_IFis = check_box("CB_IFis", "HW tests per locus and sample ", initial.CB_IFis, testing);
  RG_MT = new RadioGroup("RG_MT", "Nominal level for multiple tests", kNominalLevels, 2, testing);
  RG_MT->set_item_index(static_cast<int>(initial.RG_MT));
  CB_PPFst = check_box("CB_PPFst", "Pairwise tests of differentiation", initial.CB_PPFst, testing);
  SpinEdit5 = spin_edit("SpinEdit5", initial.SpinEdit5, INT_MAX, testing);
  auto* testing_layout = new QVBoxLayout(testing);
  testing_layout->addWidget(global_tests);
  testing_layout->addWidget(CB_IFis);
  testing_layout->addWidget(RG_MT);
  testing_layout->addWidget(CB_PPFst);
  testing_layout->addLayout(labelled("# of permutations", SpinEdit5));
  testing_layout->addStretch();

  // Genotypic disequilibrium
  auto* diseq = group("Genotypic disequilibrium", this);
  auto* estimators = group("Estimators of composite disequilibrium", diseq);
  CB_dp = check_box("CB_dp", "Delta' (average per pair of loci)", initial.CB_dp, estimators);
  CB_r = check_box("CB_r", "R^2 (average per pair of loci)", initial.CB_r, estimators);
  CB_details = check_box("CB_details", "Detail results per pair of alleles", initial.CB_details, estimators);
  CB_Savetables = check_box("CB_Savetables", "Save Contingency Tables", initial.CB_Savetables, estimators);
  auto* estimators_layout = new QVBoxLayout(estimators);
  for (QCheckBox* b : {CB_dp, CB_r, CB_details, CB_Savetables}) estimators_layout->addWidget(b);
  RG_GDT = new RadioGroup("RG_GDT", "Tests of Genotypic Disequilibrium",
                          {"NO tests", "Tests between all pairs of loci", "Tests between all pairs of loci in each sample"},
                          1, diseq);
  RG_GDT->set_item_index(static_cast<int>(initial.RG_GDT));
  RG_MTG = new RadioGroup("RG_MTG", "Nominal level for multiple tests", kNominalLevels, 2, diseq);
  RG_MTG->set_item_index(static_cast<int>(initial.RG_MTG));
  SpinEdit8 = spin_edit("SpinEdit8", initial.SpinEdit8, INT_MAX, diseq);
  auto* diseq_layout = new QVBoxLayout(diseq);
  diseq_layout->addWidget(estimators);
  diseq_layout->addWidget(RG_GDT);
  diseq_layout->addWidget(RG_MTG);
  diseq_layout->addLayout(labelled("# of permutations", SpinEdit8));
  diseq_layout->addStretch();

  BT_Run = new QPushButton("Run", this);
  BT_Run->setObjectName("BT_Run");
  QFont font = BT_Run->font();
  font.setBold(true);
  font.setItalic(true);
  BT_Run->setFont(font);
  BT_Run->setEnabled(false);
  BT_Run->setMinimumWidth(120);

  // Beside Run: a results document a script can read, next to the result file.
  CB_json = check_box("CB_json", "Also write a JSON file", initial.CB_json, this);

  auto* page = new QGridLayout(this);
  page->addWidget(diversities, 0, 0);
  page->addWidget(testing, 0, 1);
  page->addWidget(diseq, 0, 2);
  page->addWidget(CB_json, 1, 1, Qt::AlignRight);
  page->addWidget(BT_Run, 1, 2, Qt::AlignRight);
}

RunOptions RunPage::options() const {
  RunOptions o;
  o.CB_allfreq = CB_allfreq->isChecked();
  o.CB_genotfreq = CB_genotfreq->isChecked();
  o.CB_nal = CB_nal->isChecked();
  o.CB_Rar = CB_Rar->isChecked();
  o.CB_genediv = CB_genediv->isChecked();
  o.CB_fis = CB_fis->isChecked();
  o.CB_nei = CB_nei->isChecked();
  o.CB_WC = CB_WC->isChecked();
  o.CB_Rst = CB_Rst->isChecked();
  o.CB_Fstpp = CB_Fstpp->isChecked();
  o.CB_HWW = CB_HWW->isChecked();
  o.SpinEdit1 = SpinEdit1->value();
  o.CB_HWO = CB_HWO->isChecked();
  o.SpinEdit2 = SpinEdit2->value();
  o.RG_popdif = static_cast<PopDiff>(RG_popdif->item_index());
  o.SpinEdit3 = SpinEdit3->value();
  o.SpinEdit4 = SpinEdit4->value();
  o.CB_IFis = CB_IFis->isChecked();
  o.RG_MT = static_cast<NominalLevel>(RG_MT->item_index());
  o.CB_PPFst = CB_PPFst->isChecked();
  o.SpinEdit5 = SpinEdit5->value();
  o.CB_dp = CB_dp->isChecked();
  o.CB_r = CB_r->isChecked();
  o.CB_details = CB_details->isChecked();
  o.CB_Savetables = CB_Savetables->isChecked();
  o.RG_GDT = static_cast<LdTests>(RG_GDT->item_index());
  o.RG_MTG = static_cast<NominalLevel>(RG_MTG->item_index());
  o.SpinEdit8 = SpinEdit8->value();
  o.CB_json = CB_json->isChecked();
  return o;
}

void RunPage::set_options(const RunOptions& o) {
  CB_allfreq->setChecked(o.CB_allfreq);
  CB_genotfreq->setChecked(o.CB_genotfreq);
  CB_nal->setChecked(o.CB_nal);
  CB_Rar->setChecked(o.CB_Rar);
  CB_genediv->setChecked(o.CB_genediv);
  CB_fis->setChecked(o.CB_fis);
  CB_nei->setChecked(o.CB_nei);
  CB_WC->setChecked(o.CB_WC);
  CB_Rst->setChecked(o.CB_Rst);
  CB_Fstpp->setChecked(o.CB_Fstpp);
  CB_HWW->setChecked(o.CB_HWW);
  SpinEdit1->setValue(o.SpinEdit1);
  CB_HWO->setChecked(o.CB_HWO);
  SpinEdit2->setValue(o.SpinEdit2);
  RG_popdif->set_item_index(static_cast<int>(o.RG_popdif));
  SpinEdit3->setValue(o.SpinEdit3);
  SpinEdit4->setValue(o.SpinEdit4);
  CB_IFis->setChecked(o.CB_IFis);
  RG_MT->set_item_index(static_cast<int>(o.RG_MT));
  CB_PPFst->setChecked(o.CB_PPFst);
  SpinEdit5->setValue(o.SpinEdit5);
  CB_dp->setChecked(o.CB_dp);
  CB_r->setChecked(o.CB_r);
  CB_details->setChecked(o.CB_details);
  CB_Savetables->setChecked(o.CB_Savetables);
  RG_GDT->set_item_index(static_cast<int>(o.RG_GDT));
  RG_MTG->set_item_index(static_cast<int>(o.RG_MTG));
  SpinEdit8->setValue(o.SpinEdit8);
  CB_json->setChecked(o.CB_json);
}

}  // namespace torvi::gui
