#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include "qt_host.h"
#include "results_view.h"
#include "run_progress.h"
#include "run_worker.h"
#include "torvi/options.h"
#include "torvi/seeds.h"
#include "user_dialogs.h"

class QAction;
class QMenu;
class QTabWidget;

namespace torvi::gui {

class ConvertCommands;
class ManualWindow;
class QSettingsStore;
class RecentFiles;
class DataSummaryWindow;
class RunPage;
class GroupsPage;
class OptionsCommands;
class CountWarnings;
class ProgressStrip;
class RunSettingsCommands;
class ResultsView;
class StatusProgress;

// The main window (TfTorvi): menus, the three pages, Open, Run and Exit.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `dialogs` answers every dialog that needs a person; when null the window
  // shows real ones. `store` holds the default options.
  MainWindow(QSettingsStore& store, UserDialogs* dialogs = nullptr);
  ~MainWindow() override;

  // After the window exists: the seeds are loaded or asked, then the About
  // box is shown once.
  void start_up();

  // Enabled state a command would have if it were built (commands of later
  // work stay disabled whatever the window's state).
  static bool available(const QAction* action);

  RunPage* run_page() const { return run_page_; }
  GroupsPage* groups_page() const { return groups_page_; }
  OptionsCommands* options_commands() const { return options_commands_; }
  RunSettingsCommands* run_settings() const { return run_settings_; }
  QTabWidget* pages() const { return pages_; }
  ProgressStrip* progress_strip() const { return progress_strip_; }
  StatusProgress* status_progress() const { return status_progress_; }
  // The "Results" page, made after the first run that wrote files (else null).
  ResultsView* results_view() const { return results_view_; }
  RecentFiles* recent_files() const { return recent_; }
  // The size a new window takes on a screen whose free area is `available`.
  QSize default_size(QSize available) const;
  // Open with `files` in place of the open dialog's choice (a recent file,
  // files dropped on the window): the same steps and checks.
  void open_files(const std::optional<QStringList>& files);
  DataSummaryWindow* data_summary() const { return data_summary_; }
  ConvertCommands* convert_commands() const { return convert_; }
  const NbPerm& nb_perm() const { return nb_perm_; }
  const Rng& rng() const { return rng_; }
  const QStringList& file_list() const { return file_list_; }
  bool running() const { return worker_.running(); }

  QMenu *FileMenu, *OptionsMenu, *MantelMenu, *UtilitiesMenu, *HelpMenu;
  QAction *mNew, *mOpen, *SaveDefaultOptions1, *mExit;
  QAction *Labelfileforpops1, *Locitouse1, *Samplestouse1;
  QAction *mgd, *mat2col, *Mantelproper1, *mBiaseddisp;
  QAction *mResetseedsRandomNumberGenerator1, *Torvigenepop1, *GenepopTorvi1, *TorviNexus1;
  QAction *mAllelebining1, *mSubsamplingdataset1, *mDominanttocodominant1;
  QAction *mContents1, *mAbout;

 signals:
  // A Run ended and the window is back in its after-run state.
  void run_finished();

 public slots:
  void open_clicked();
  void run_clicked();
  void run_groups_clicked();
  void exit_clicked();
  void about_clicked();
  void reset_seeds_clicked();
  // The window of the tests for sex-biased dispersal, modal over this one.
  void biased_dispersal_clicked();
  void save_default_options_clicked();
  void regress_clicked();
  // Help > Contents: the bundled manual.
  void contents_clicked();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  enum class Job { run, groups };
  void build_menus();
  void build_status_bar();
  // The Results page with `files` (nothing happens when there are none).
  void show_results(std::vector<RunFile> files);
  void build_conveniences();
  void place_window();
  void remember_window();
  std::vector<std::string> data_files() const;
  void before_run(Job job);
  void after_run();
  void set_available(QAction* action, bool on);
  void set_menu_enabled(QMenu* menu, bool on);

  QSettingsStore& store_;
  std::unique_ptr<UserDialogs> own_dialogs_;
  UserDialogs& dialogs_;
  RunProgress progress_;
  QtHost host_;
  RunWorker worker_;
  Rng rng_;
  NbPerm nb_perm_;
  QStringList file_list_;
  Job job_ = Job::run;
  const std::string seeds_path_;

  ProgressStrip* progress_strip_;
  StatusProgress* status_progress_;
  std::unique_ptr<CountWarnings> count_warnings_;
  ResultsView* results_view_ = nullptr;
  QDateTime run_started_;
  RecentFiles* recent_ = nullptr;
  ManualWindow* manual_ = nullptr;
  QTabWidget* pages_;
  RunPage* run_page_;
  GroupsPage* groups_page_;
  OptionsCommands* options_commands_;
  DataSummaryWindow* data_summary_;
  ConvertCommands* convert_;
  RunSettingsCommands* run_settings_;
};

}  // namespace torvi::gui
