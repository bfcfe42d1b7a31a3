#include <QApplication>

#include "main_window.h"
#include "qsettings_store.h"
#include "torvi/run.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(torvi::kApplicationTitle);

  torvi::gui::QSettingsStore store;
  torvi::gui::MainWindow window(store);
  // The seeds and the About box come before the window appears.
  window.start_up();
  window.show();
  return app.exec();
}
