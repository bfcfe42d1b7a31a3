#pragma once

#include <QMimeData>
#include <QRect>
#include <QSize>
#include <QStringList>

class QMainWindow;
class QSettings;

namespace torvi::gui {

// Size of a new main window: what its contents need (`wanted`), at least
// the size the program always had (`least`), and never more than the screen
// area it may use (`available`).
QSize default_window_size(QSize wanted, QSize least, QSize available);

// The window's size and place as last closed, when stored; false otherwise.
bool restore_window(QMainWindow& window, const QSettings& settings);
void save_window(const QMainWindow& window, QSettings& settings);

// The data files among what is dragged onto the window: local files whose
// name ends ".dat" (any case). Empty when there is none.
QStringList dropped_data_files(const QMimeData& data);

}  // namespace torvi::gui
