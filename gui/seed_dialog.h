#pragma once

#include <optional>

#include <QDialog>

#include "torvi/host.h"

class QLineEdit;
class QPushButton;

namespace torvi::gui {

// The seeds dialog (form fseedRnd): two edit fields and an OK button. It only
// collects the texts; converting and range checking are the caller's.
class SeedDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SeedDialog(QWidget* parent = nullptr);

  // Empties both fields and shows the dialog modally, focus in the first
  // field. The two texts when closed with OK, nothing otherwise.
  std::optional<Host::SeedTexts> ask();

  QLineEdit* Ernd1;
  QLineEdit* ERnd2;
  QPushButton* BT_OK;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace torvi::gui
