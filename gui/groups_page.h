#pragma once

#include <array>
#include <optional>
#include <vector>

#include <QWidget>

#include "torvi/groups.h"
#include "user_dialogs.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace torvi::gui {

class OptionsCommands;
class RadioGroup;

// The second page, "Comp. among groups of samples": groups of the samples of
// the file a run analyses, the statistics to compare, the number of
// permutations and their Run.
class GroupsPage : public QWidget {
  Q_OBJECT

 public:
  GroupsPage(UserDialogs& dialogs, OptionsCommands& options, QWidget* parent = nullptr);

  // Open, and the end of a run of this page: Run disabled until groups are
  // defined, the test type hidden and back on "two sided".
  void reset();
  // The comparison as Run reads it: the groups of the last completed
  // definition, the ticked statistics, the permutations and the test type.
  GroupComparison comparison() const;
  // Puts a comparison on the page as if its groups had just been defined
  // (a settings file opened).
  void set_comparison(const GroupComparison& comparison);

  QSpinBox* SpinEdit6;
  QPushButton* BT_Defgroups;
  RadioGroup* RG_TT2;
  QListWidget* CLB_Stats;
  QSpinBox* SpinEdit7;
  QPushButton* BT_Run2;
  QCheckBox* CB_json;  // "Also write a JSON file": BASE_test.torvi.json beside each result file

 public slots:
  void define_groups_clicked();

 private:
  std::optional<std::vector<int>> pick_group(int g, const std::vector<PickEntry>& samples, size_t taken);

  UserDialogs& dialogs_;
  OptionsCommands& options_;
  std::array<std::vector<int>, kMaxGroups> members_;
  int defined_ = 0;  // groups of the last completed definition
};

}  // namespace torvi::gui
