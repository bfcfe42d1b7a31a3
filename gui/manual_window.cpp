#include "manual_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace torvi::gui {

namespace {

constexpr int kWidth = 760, kHeight = 640;

}  // namespace

ManualWindow::ManualWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("ManualWindow");
  setWindowTitle("Torvi manual");
  browser = new QTextBrowser(this);
  browser->setOpenExternalLinks(true);
  browser->setSource(QUrl(kManualUrl));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser);
  resize(kWidth, kHeight);
}

}  // namespace torvi::gui
