#include "groups_page.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "options_commands.h"
#include "radio_group.h"

namespace torvi::gui {

namespace {

constexpr int kPermutationStep = 100;
constexpr int kTwoSided = 1, kOneSided = 0;

}  // namespace

GroupsPage::GroupsPage(UserDialogs& dialogs, OptionsCommands& options, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), options_(options) {
  setObjectName("Diffbgroups");

  SpinEdit6 = new QSpinBox(this);
  SpinEdit6->setObjectName("SpinEdit6");
  SpinEdit6->setRange(0, kMaxGroups);
  BT_Defgroups = new QPushButton("Define groups", this);
  BT_Defgroups->setObjectName("BT_Defgroups");

  RG_TT2 = new RadioGroup("RG_TT2", "Type of tests for two groups", {"one sided (H1:G1>G2)", "two sided"}, 2, this);

  CLB_Stats = new QListWidget(this);
  CLB_Stats->setObjectName("CLB_Stats");
  for (const char* item : kGroupStatisticItems) {
    auto* line = new QListWidgetItem(item, CLB_Stats);
    line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
    line->setCheckState(Qt::Unchecked);
  }

  SpinEdit7 = new QSpinBox(this);
  SpinEdit7->setObjectName("SpinEdit7");
  SpinEdit7->setRange(0, kMaxGroupPermutations);
  SpinEdit7->setSingleStep(kPermutationStep);
  BT_Run2 = new QPushButton("Run", this);
  BT_Run2->setObjectName("BT_Run2");
  CB_json = new QCheckBox("Also write a JSON file", this);
  CB_json->setObjectName("CB_json");

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
  grid->addWidget(CB_json, 5, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(6, 1);

  connect(BT_Defgroups, &QPushButton::clicked, this, &GroupsPage::define_groups_clicked);
  // A run compares the groups of a completed definition: another number of
  // groups needs a new one.
  connect(SpinEdit6, &QSpinBox::valueChanged, this, [this] { BT_Run2->setEnabled(false); });
  reset();
}

void GroupsPage::reset() {
  BT_Run2->setEnabled(false);
  RG_TT2->hide();
  RG_TT2->set_item_index(kTwoSided);
}

GroupComparison GroupsPage::comparison() const {
  GroupComparison c;
  c.groups.assign(members_.begin(), members_.begin() + defined_);
  for (int i = 0; i < kGroupStatistics; ++i) c.statistics[i] = CLB_Stats->item(i)->checkState() == Qt::Checked;
  c.permutations = SpinEdit7->value();
  c.one_sided = defined_ == 2 && RG_TT2->item_index() == kOneSided;
  return c;
}
void GroupsPage::set_comparison(const GroupComparison& c) {
  SpinEdit6->setValue(static_cast<int>(c.groups.size()));
  std::copy(c.groups.begin(), c.groups.end(), members_.begin());
  defined_ = static_cast<int>(c.groups.size());
  for (int i = 0; i < kGroupStatistics; ++i)
    CLB_Stats->item(i)->setCheckState(c.statistics[i] ? Qt::Checked : Qt::Unchecked);
  SpinEdit7->setValue(c.permutations);
  RG_TT2->setVisible(defined_ == 2);
  RG_TT2->set_item_index(c.one_sided ? kOneSided : kTwoSided);
  BT_Run2->setEnabled(true);
}

void GroupsPage::define_groups_clicked() {
  options_.set_default_labels();
  const int g_count = SpinEdit6->value();
  RG_TT2->setVisible(g_count == 2);
  RG_TT2->set_item_index(kTwoSided);
  if (g_count < kMinGroups) return;
  const std::vector<PickEntry> samples = options_.analysed_samples();
  size_t taken = 0;
  for (int g = 1; g <= g_count; ++g) {
    // Cancel ends the definition: the groups before this one keep their new
    // members, this one and the later ones their old ones.
    auto members = pick_group(g, samples, taken);
    if (!members) return;
    taken += members->size();
    members_[g - 1] = std::move(*members);
  }
  defined_ = g_count;
  BT_Run2->setEnabled(true);
}

std::optional<std::vector<int>> GroupsPage::pick_group(int g, const std::vector<PickEntry>& samples, size_t taken) {
  const QString number = QString::number(g);
  const PickCaptions captions{"TFpickpop", "Define group " + number, "original samples", "sample in group " + number,
                              true};
  PickLists lists{samples, {}};
  for (;;) {
    if (dialogs_.pick(captions, lists) != PickAnswer::ok) return std::nullopt;
    if (lists.right.size() < static_cast<size_t>(kMinGroupMembers)) continue;
    std::vector<int> members;
    for (const PickEntry& e : lists.right) members.push_back(e.number);
    std::sort(members.begin(), members.end());
    // Each permutation deals every sample to one group at most.
    if (taken + members.size() <= samples.size()) return members;
    dialogs_.message(true, QString("Groups 1 to %1 hold %2 samples in all, more than the %3 samples analysed.\n"
                                   "A permutation deals each sample to one group only: choose fewer samples.")
                               .arg(g)
                               .arg(taken + members.size())
                               .arg(samples.size()));
  }
}

}  // namespace torvi::gui
