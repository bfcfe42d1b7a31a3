#pragma once

#include <string>

#include <QDialog>

#include "qt_host.h"
#include "torvi/seeds.h"
#include "regress_worker.h"
#include "results_view.h"
#include "run_progress.h"
#include "torvi/regress.h"
#include "user_dialogs.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace torvi::gui {

class ProgressStrip;
class RegressCharts;

// The regression window (Tfmultreg, "Partial Mantel or Regression"): a table
// in columnar form, one dependent and some explanatory variables, RUN with
// randomisations on a thread of its own, the report shown, two charts.
// Randomisations draw from `rng`, whose state is saved to `seeds_path`
// after each run.
class RegressWindow : public QDialog {
  Q_OBJECT

 public:
  RegressWindow(UserDialogs& dialogs, Rng& rng, std::string seeds_path, QWidget* parent = nullptr);
  ~RegressWindow() override;

  QListWidget *ListBox1, *ListBox2, *ListBox3;
  QLabel* Label5;
  QPushButton *Button1, *Button2, *Button3, *Button4, *GO;
  QSpinBox* SpinEdit1;
  QCheckBox *CheckBox1, *CheckBox2;
  QCheckBox* CB_json;  // "Also write a JSON file": the results document beside the output file
  QPlainTextEdit* Memo1;
  QMenu* FileMenu;
  QAction *open1, *Exit1;
  QAction *SaveSettings, *OpenSettings;  // "Save run settings...", "Open run settings..."
  RegressCharts* charts;
  ProgressStrip* progress_strip;
  bool running() const { return worker_.running(); }
  // The files the last run wrote (output, residuals, results document).
  const std::vector<RunFile>& files_written() const { return files_written_; }
  // The variable number of a list entry "k.name".
  static int variable_number(const QListWidgetItem* item);

 signals:
  // A run ended (done, refused, singular or cancelled) and the window is
  // ready again.
  void run_finished();

 public slots:
  void open1Click();
  void Button3Click();
  void Button4Click();
  void Button1Click();
  void Button2Click();
  void GOClick();
  void save_settings_clicked();
  void open_settings_clicked();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  void lay_out(QMenuBar* menu_bar);
  void show_explanatory(bool on);
  void update_explanatory_buttons();
  void set_arrows_enabled(bool on);
  void start_run(regress::MantelRequest request);
  void after_run();
  void load_memo();
  void forget_file();
  void show_table(const QString& input);
  // The window's controls as a settings file holds them, and back on them.
  regress::MantelSettingsFile settings() const;
  bool open_settings_table(const regress::MantelSettingsFile& s, const QString& path);
  void choose_model(int dependent, const std::vector<int>& explanatory);

  UserDialogs& dialogs_;
  Rng& rng_;
  const std::string seeds_path_;
  RunProgress progress_;
  QtHost host_;
  RegressWorker worker_;
  QString input_path_, output_path_;
  regress::ColumnHeader header_;
  std::vector<RunFile> files_written_;
};

}  // namespace torvi::gui
