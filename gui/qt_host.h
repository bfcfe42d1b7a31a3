#pragma once

#include <functional>

#include <QObject>

#include "run_progress.h"
#include "torvi/host.h"
#include "user_dialogs.h"

namespace torvi::gui {

// The desktop program's Host. The core may call it from the run's worker
// thread: dialogs are then shown on the GUI thread while the caller waits,
// and progress only touches atomics that the window's timer reads.
class QtHost : public QObject, public Host {
  Q_OBJECT

 public:
  QtHost(UserDialogs& dialogs, RunProgress& progress, QObject* parent = nullptr);

  void show_error(const std::string& text) override;
  void show_info(const std::string& text) override;
  std::optional<std::string> ask_result_file(const std::string& title, const std::string& proposed) override;
  std::optional<std::string> ask_subset_file(const std::string& title, const std::string& proposed) override;
  std::optional<std::string> ask_new_file(const std::string& title, const std::string& proposed) override;
  void show_abort(const std::string& text) override;
  std::optional<SeedTexts> ask_seed_texts() override;
  void progress_begin(int64_t range) override;
  void progress_step(int64_t steps = 1) override;
  void progress_end() override;
  bool stop_requested() override;
  void show_caption(const std::string& text) override;
  void show_finished_in(const std::string& text, const std::string& folder) override;
  void show_run_file(const std::string& data_file, int file, int files) override;
  void show_section(const std::string& name, int section, int sections) override;

 signals:
  // Emitted from whichever thread runs; delivered on the GUI thread.
  void caption(const QString& text);
  void run_file(const QString& data_file, int file, int files);
  void section(const QString& name, int section, int sections);

 private:
  using SaveDialog = std::optional<QString> (UserDialogs::*)(const QString&, const QString&);
  std::optional<std::string> ask_file_name(SaveDialog dialog, const std::string& title, const std::string& proposed);

  // Runs `f` on the thread this object lives in and waits for it.
  void on_gui_thread(const std::function<void()>& f);

  UserDialogs& dialogs_;
  RunProgress& progress_;
};

// Message texts break lines with "\n\r"; a box shows each as one line break.
QString display_text(const std::string& text);

}  // namespace torvi::gui
