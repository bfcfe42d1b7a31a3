#pragma once

#include <QDialog>

class QLabel;

namespace torvi::gui {

// "About Torvi": product, version, operating system and physical memory.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QLabel* ProductName;
  QLabel* Version;
  QLabel* OSVersion;
  QLabel* PhysMem;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace torvi::gui
