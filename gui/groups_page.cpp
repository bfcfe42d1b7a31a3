#include "groups_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "radio_group.h"

namespace torvi::gui {

GroupsPage::GroupsPage(QWidget* parent) : QWidget(parent) {
  setObjectName("Diffbgroups");

  SpinEdit6 = new QSpinBox(this);
  SpinEdit6->setObjectName("SpinEdit6");
  SpinEdit6->setRange(0, 12);
  BT_Defgroups = new QPushButton("Define groups", this);
  BT_Defgroups->setObjectName("BT_Defgroups");
  BT_Defgroups->setEnabled(false);

  RG_TT2 = new RadioGroup("RG_TT2", "Type of tests for two groups", {"one sided (H1:G1>G2)", "two sided"}, 2, this);
  RG_TT2->set_item_index(1);
  RG_TT2->hide();

  CLB_Stats = new QListWidget(this);
  CLB_Stats->setObjectName("CLB_Stats");
  for (const char* item : {"Allelic Richness", "Obs. heterozygosity HO", "Gene diversity HS", "FIS", "FST",
                           "Relatedness", "Corrected Relatedness"}) {
    auto* line = new QListWidgetItem(item, CLB_Stats);
    line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
    line->setCheckState(Qt::Unchecked);
  }

  SpinEdit7 = new QSpinBox(this);
  SpinEdit7->setObjectName("SpinEdit7");
  SpinEdit7->setRange(0, 15000);
  SpinEdit7->setSingleStep(100);
  BT_Run2 = new QPushButton("Run", this);
  BT_Run2->setObjectName("BT_Run2");
  BT_Run2->setEnabled(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Number of groups ", this), 0, 0);
  grid->addWidget(SpinEdit6, 0, 1);
  grid->addWidget(BT_Defgroups, 0, 2);
  grid->addWidget(RG_TT2, 1, 0, 1, 3);
  grid->addWidget(new QLabel("Statistics to compare among groups:", this), 2, 0, 1, 3);
  grid->addWidget(CLB_Stats, 3, 0, 1, 3);
  grid->addWidget(new QLabel("Number of permutations", this), 4, 0);
  grid->addWidget(SpinEdit7, 4, 1);
  grid->addWidget(BT_Run2, 4, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(5, 1);
}

}  // namespace torvi::gui
