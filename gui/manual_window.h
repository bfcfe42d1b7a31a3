#pragma once

#include <QDialog>

class QTextBrowser;

namespace torvi::gui {

// Help > Contents: the manual bundled with the program, in a window of its
// own beside the main window.
class ManualWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ManualWindow(QWidget* parent = nullptr);

  QTextBrowser* browser;
};

// Where the bundled manual is found.
inline constexpr const char* kManualUrl = "qrc:/docs/manual.html";

}  // namespace torvi::gui
