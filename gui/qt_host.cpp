#include "qt_host.h"

#include <QDir>
#include <QThread>

#include "torvi/host.h"

namespace torvi::gui {

QString display_text(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace("\n\r", "\n");
  return s;
}

QtHost::QtHost(UserDialogs& dialogs, RunProgress& progress, QObject* parent)
    : QObject(parent), dialogs_(dialogs), progress_(progress) {}

void QtHost::on_gui_thread(const std::function<void()>& f) {
  if (QThread::currentThread() == thread())
    f();
  else
    QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
}

void QtHost::show_error(const std::string& text) {
  on_gui_thread([&] { dialogs_.message(true, display_text(text)); });
}

void QtHost::show_info(const std::string& text) {
  on_gui_thread([&] { dialogs_.message(false, display_text(text)); });
}

std::optional<std::string> QtHost::ask_file_name(SaveDialog dialog, const std::string& title,
                                                 const std::string& proposed) {
  std::optional<QString> chosen;
  on_gui_thread([&] { chosen = (dialogs_.*dialog)(QString::fromStdString(title), QString::fromStdString(proposed)); });
  if (!chosen) return std::nullopt;
  return chosen->toStdString();
}

std::optional<std::string> QtHost::ask_result_file(const std::string& title, const std::string& proposed) {
  return ask_file_name(&UserDialogs::save_file, title, proposed);
}

std::optional<std::string> QtHost::ask_subset_file(const std::string& title, const std::string& proposed) {
  return ask_file_name(&UserDialogs::save_subset_file, title, proposed);
}

std::optional<std::string> QtHost::ask_new_file(const std::string& title, const std::string& proposed) {
  return ask_file_name(&UserDialogs::save_new_file, title, proposed);
}

void QtHost::show_abort(const std::string& text) {
  on_gui_thread([&] { dialogs_.abort_message(display_text(text)); });
}

std::optional<Host::SeedTexts> QtHost::ask_seed_texts() {
  std::optional<SeedTexts> texts;
  on_gui_thread([&] { texts = dialogs_.seed_texts(); });
  return texts;
}

void QtHost::progress_begin(int64_t range) {
  progress_.done = 0;
  progress_.range = range;
  progress_.started_ns = steady_now_ns();
  progress_.active = true;
}

void QtHost::progress_step(int64_t steps) { progress_.done.fetch_add(steps, std::memory_order_relaxed); }

void QtHost::progress_end() { progress_.active = false; }

bool QtHost::stop_requested() { return progress_.stop.load(std::memory_order_relaxed); }

void QtHost::show_finished_in(const std::string& text, const std::string& folder) {
  QString shown = display_text(text);
  if (!folder.empty()) shown += "\n\nThe result files are in the folder\n" + QDir::toNativeSeparators(QString::fromStdString(folder));
  on_gui_thread([&] { dialogs_.message(false, shown); });
}

void QtHost::show_caption(const std::string& text) { emit caption(QString::fromStdString(text)); }

void QtHost::show_run_file(const std::string& data_file, int file, int files) {
  emit run_file(QString::fromStdString(data_file), file, files);
}

void QtHost::show_section(const std::string& name, int section, int sections) {
  emit this->section(QString::fromStdString(name), section, sections);
}

}  // namespace torvi::gui
