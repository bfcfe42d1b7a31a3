#pragma once

#include <QDialog>

#include "user_dialogs.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace torvi::gui {

// The two-list picking dialog of loci (Tfpickloci) and samples (TFpickpop):
// ">" moves the selected lines of the left list to the end of the right one,
// "<" moves them back to the end of the left one.
class PickDialog : public QDialog {
  Q_OBJECT

 public:
  PickDialog(const PickCaptions& captions, QWidget* parent = nullptr);

  void set_lists(const PickLists& lists);
  PickLists lists() const;
  // How the dialog was closed, once exec() has returned.
  PickAnswer answer() const { return answer_; }

  QLabel *Label1, *Label2;
  QListWidget *ListBox1, *ListBox2;
  QPushButton *BT_Add, *BT_Remove, *BT_OK, *BT_Cancel;

 private:
  static void move_selected(QListWidget* from, QListWidget* to);

  PickAnswer answer_ = PickAnswer::closed;
};

}  // namespace torvi::gui
