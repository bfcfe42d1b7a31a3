#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;
class QSpinBox;

namespace torvi::gui {

class RadioGroup;

// The second page, "Comp. among groups of samples". Its commands (defining
// groups and their Run) are not built yet: their buttons stay disabled.
class GroupsPage : public QWidget {
  Q_OBJECT

 public:
  explicit GroupsPage(QWidget* parent = nullptr);

  QSpinBox* SpinEdit6;
  QPushButton* BT_Defgroups;
  RadioGroup* RG_TT2;
  QListWidget* CLB_Stats;
  QSpinBox* SpinEdit7;
  QPushButton* BT_Run2;
};

}  // namespace torvi::gui
