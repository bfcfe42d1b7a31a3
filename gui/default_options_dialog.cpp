#include "default_options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "radio_group.h"

namespace torvi::gui {

namespace {

constexpr const char* kAssuming = "Assuming HW within samples";
constexpr const char* kNotAssuming = "NOT Assuming HW within samples";
constexpr const char* kMinimumMark = " (N>=200)";

QCheckBox* check_box(const char* name, const char* caption, bool ticked, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(ticked);
  return box;
}

QLineEdit* count_edit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit("0", parent);
  edit->setObjectName(name);
  edit->setEnabled(false);
  edit->setMaximumWidth(90);
  return edit;
}

QString text_of(int32_t value) { return QString::number(value); }

}  // namespace

DefaultOptionsDialog::DefaultOptionsDialog(SettingsStore& store, QWidget* parent) : QDialog(parent), store_(store) {
  setObjectName("SaveOptions");
  setWindowTitle("Default options");

  auto* global_tests = new QGroupBox("Global Tests", this);
  CB_HWW = check_box("CB_HWW", "Hardy Weinberg within samples", false, global_tests);
  E_HWW = count_edit("E_HWW", global_tests);
  CB_HWO = check_box("CB_HWO", "Hardy Weinberg overall samples", false, global_tests);
  E_HWO = count_edit("E_HWO", global_tests);
  CB_PopDiff = check_box("CB_PopDiff", "Population differentiation", false, global_tests);
  RG_popdif = new RadioGroup("RG_popdif", "Population differentiation",
                             {kAssuming, "NOT assuming HW within samples "}, 1, global_tests);
  RG_popdif->setEnabled(false);
  E_PDHW = count_edit("E_PDHW", RG_popdif);
  E_PDNHW = count_edit("E_PDNHW", RG_popdif);
  RG_popdif->add_beside(0, E_PDHW);
  RG_popdif->add_beside(1, E_PDNHW);
  auto* tests = new QGridLayout(global_tests);
  tests->addWidget(CB_HWW, 0, 0);
  tests->addWidget(E_HWW, 0, 1);
  tests->addWidget(CB_HWO, 1, 0);
  tests->addWidget(E_HWO, 1, 1);
  tests->addWidget(CB_PopDiff, 2, 0, 1, 2);
  tests->addWidget(RG_popdif, 3, 0, 1, 2);

  auto* f_statistics = new QGroupBox("F-statistics", this);
  CB_nei = check_box("CB_nei", "Nei's F-statistics", true, f_statistics);
  CB_WC = check_box("CB_WC", "Weir and Cockerham's F-statistics", true, f_statistics);
  CB_Rst = check_box("CB_Rst", "Rho_st", false, f_statistics);
  CB_Fstpp = check_box("CB_Fstpp", "Fst per pair of samples", false, f_statistics);
  auto* f_statistics_layout = new QVBoxLayout(f_statistics);
  for (QCheckBox* b : {CB_nei, CB_WC, CB_Rst, CB_Fstpp}) f_statistics_layout->addWidget(b);

  auto* diversities = new QGroupBox("Gene diversities per locus and sample", this);
  CB_allfreq = check_box("CB_allfreq", "Allele frequencies", true, diversities);
  CB_genotfreq = check_box("CB_genotfreq", "Genotypic frequencies", false, diversities);
  CB_nal = check_box("CB_nal", "Number of alleles", true, diversities);
  CB_genediv = check_box("CB_genediv", "Gene diversities", true, diversities);
  CB_fis = check_box("CB_fis", "Fis ", false, diversities);
  auto* diversities_layout = new QVBoxLayout(diversities);
  for (QCheckBox* b : {CB_allfreq, CB_genotfreq, CB_nal, CB_genediv, CB_fis}) diversities_layout->addWidget(b);

  CB_json = check_box("CB_json", "Also write a JSON file", false, this);

  Bt_OK = new QPushButton("OK", this);
  Bt_OK->setObjectName("Bt_OK");
  Bt_OK->setDefault(true);
  Bt_Cancel = new QPushButton("Cancel", this);
  Bt_Cancel->setObjectName("Bt_Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CB_json);
  buttons->addStretch();
  buttons->addWidget(Bt_OK);
  buttons->addWidget(Bt_Cancel);

  auto* grid = new QGridLayout(this);
  grid->addWidget(global_tests, 0, 0, 2, 1);
  grid->addWidget(f_statistics, 0, 1);
  grid->addWidget(diversities, 1, 1);
  grid->addLayout(buttons, 2, 0, 1, 2);

  connect(CB_HWW, &QCheckBox::toggled, this, &DefaultOptionsDialog::hww_toggled);
  connect(CB_HWO, &QCheckBox::toggled, this, &DefaultOptionsDialog::hwo_toggled);
  connect(CB_PopDiff, &QCheckBox::toggled, this, &DefaultOptionsDialog::pop_diff_toggled);
  connect(RG_popdif, &RadioGroup::item_chosen, this, &DefaultOptionsDialog::pop_diff_item_chosen);
  connect(Bt_OK, &QPushButton::clicked, this, &DefaultOptionsDialog::ok_clicked);
  connect(Bt_Cancel, &QPushButton::clicked, this, &DefaultOptionsDialog::reject);

  if (auto stored = read_default_options(store_)) load(*stored);
}

void DefaultOptionsDialog::load(const DefaultOptions& d) {
  CB_nei->setChecked(d.Nei);
  CB_WC->setChecked(d.Weir_and_Cock);
  CB_Rst->setChecked(d.Rst);
  CB_Fstpp->setChecked(d.Fst_per_pair);
  CB_allfreq->setChecked(d.allele_freq);
  CB_genotfreq->setChecked(d.genot_freq);
  CB_nal->setChecked(d.nb_alleles);
  CB_genediv->setChecked(d.Gene_div);
  CB_fis->setChecked(d.Fis);
  CB_json->setChecked(d.json_file);

  CB_PopDiff->setChecked(d.Pop_Diff);
  RG_popdif->setEnabled(d.Pop_Diff);
  E_PDHW->setText(text_of(d.nbperm_PDHW));
  if (E_PDHW->text() != "0") RG_popdif->set_item_index(0);
  E_PDNHW->setText(text_of(d.nbperm_PDNHW));
  if (E_PDNHW->text() != "0") RG_popdif->set_item_index(1);
  if (E_PDHW->text() == "0" && E_PDNHW->text() == "0") {
    RG_popdif->set_item_index(-1);
    RG_popdif->setEnabled(false);
    CB_PopDiff->setChecked(false);
  }

  CB_HWO->setChecked(d.HWO);
  E_HWO->setText(text_of(d.nbperm_HWO));
  CB_HWW->setChecked(d.HWW);
  E_HWW->setText(text_of(d.nbperm_HWW));
}

DefaultOptionsForm DefaultOptionsDialog::form() const {
  DefaultOptionsForm f;
  f.CB_nal = CB_nal->isChecked();
  f.CB_genediv = CB_genediv->isChecked();
  f.CB_allfreq = CB_allfreq->isChecked();
  f.CB_genotfreq = CB_genotfreq->isChecked();
  f.CB_fis = CB_fis->isChecked();
  f.CB_nei = CB_nei->isChecked();
  f.CB_WC = CB_WC->isChecked();
  f.CB_Rst = CB_Rst->isChecked();
  f.CB_Fstpp = CB_Fstpp->isChecked();
  f.CB_HWW = CB_HWW->isChecked();
  f.CB_HWO = CB_HWO->isChecked();
  f.CB_PopDiff = CB_PopDiff->isChecked();
  f.RG_popdif = RG_popdif->item_index();
  f.E_HWW = E_HWW->text().toStdString();
  f.E_HWO = E_HWO->text().toStdString();
  f.E_PDHW = E_PDHW->text().toStdString();
  f.E_PDNHW = E_PDNHW->text().toStdString();
  f.CB_json = CB_json->isChecked();
  return f;
}

void DefaultOptionsDialog::ok_clicked() {
  DefaultOptionsForm f = form();
  write_default_options(store_, default_options_from_form(f));
  must_ok_again_ = correct_default_options_form(f);
  // Unticking runs the box's reaction, which disables its edit.
  CB_HWW->setChecked(f.CB_HWW);
  CB_HWO->setChecked(f.CB_HWO);
  E_HWW->setText(QString::fromStdString(f.E_HWW));
  E_HWO->setText(QString::fromStdString(f.E_HWO));
  E_PDHW->setText(QString::fromStdString(f.E_PDHW));
  E_PDNHW->setText(QString::fromStdString(f.E_PDNHW));
  if (!must_ok_again_) accept();
}

void DefaultOptionsDialog::reject() {
  // The first OK already stored counts below the minimum: only an OK that
  // finds nothing to correct may end the dialog then.
  if (!must_ok_again_) QDialog::reject();
}

void DefaultOptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Bt_OK->setFocus();
}

void DefaultOptionsDialog::edit_on_tick(QCheckBox* box, QLineEdit* edit, bool ticked, const char* ticked_caption,
                                        const char* unticked_caption) {
  edit->setEnabled(ticked);
  if (ticked) {
    if (isVisible()) edit->setFocus();
    box->setText(ticked_caption);
  } else {
    edit->setText("0");
    box->setText(unticked_caption);
  }
}

void DefaultOptionsDialog::hww_toggled(bool ticked) {
  edit_on_tick(CB_HWW, E_HWW, ticked, "Hardy Weinberg within samples (N>=200)", "Hardy Weinberg within samples ");
}

void DefaultOptionsDialog::hwo_toggled(bool ticked) {
  edit_on_tick(CB_HWO, E_HWO, ticked, "Hardy Weinberg overall samples (N>=200)", "Hardy Weinberg overall samples");
}

void DefaultOptionsDialog::pop_diff_toggled(bool ticked) {
  RG_popdif->item(0)->setText(kAssuming);
  RG_popdif->item(1)->setText(kNotAssuming);
  RG_popdif->setEnabled(ticked);
  E_PDNHW->setEnabled(false);
  if (!ticked) {
    E_PDHW->setText("0");
    E_PDNHW->setText("0");
  }
}

void DefaultOptionsDialog::pop_diff_item_chosen(int item) {
  QLineEdit* chosen = item == 0 ? E_PDHW : E_PDNHW;
  QLineEdit* other = item == 0 ? E_PDNHW : E_PDHW;
  chosen->setEnabled(true);
  if (isVisible()) chosen->setFocus();
  other->setEnabled(false);
  other->setText("0");
  RG_popdif->item(0)->setText(item == 0 ? QString(kAssuming) + kMinimumMark : QString(kAssuming));
  RG_popdif->item(1)->setText(item == 1 ? QString(kNotAssuming) + kMinimumMark : QString(kNotAssuming));
}

}  // namespace torvi::gui
