#include "main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QThread>

#include "bias_dispersal_window.h"
#include "convert_commands.h"
#include "data_summary_window.h"
#include "default_options_dialog.h"
#include "groups_page.h"
#include "options_commands.h"
#include "progress_strip.h"
#include "qsettings_store.h"
#include "radio_group.h"
#include "recent_files.h"
#include "regress_window.h"
#include "run_page.h"
#include "run_settings_commands.h"
#include "skipped_tests_dialog.h"
#include "status_progress.h"
#include "torvi/data_files.h"
#include "torvi/seeds.h"
#include "widget_dialogs.h"

namespace torvi::gui {

namespace {

constexpr const char* kWindowCaption = "Torvi for Windows";
constexpr const char* kPendingProperty = "pending";
constexpr const char* kAvailableProperty = "available";
constexpr int kScrollWidth = 770, kScrollHeight = 495;

// File name without folders of a data file's base name, with ".dat".
QString data_file_name(const QString& base_name) { return QFileInfo(base_name).fileName() + ".dat"; }

bool is_data_file(const QString& path) { return path.toUpper().endsWith(".DAT"); }

QAction* add_item(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

// A command whose work is not built yet: shown, never enabled.
QAction* pending(QAction* action) {
  action->setProperty(kPendingProperty, true);
  action->setProperty(kAvailableProperty, action->isEnabled());
  action->setEnabled(false);
  return action;
}

void hide_item(QAction* action) {
  action->setEnabled(false);
  action->setVisible(false);
}

}  // namespace

MainWindow::MainWindow(QSettingsStore& store, UserDialogs* dialogs)
    : store_(store),
      own_dialogs_(dialogs ? nullptr : std::make_unique<WidgetDialogs>(this)),
      dialogs_(dialogs ? *dialogs : *own_dialogs_),
      host_(dialogs_, progress_),
      seeds_path_(kSeedsFileName) {
  setObjectName("fTorvi");
  setWindowTitle(kWindowCaption);

  build_menus();
  progress_strip_ = new ProgressStrip(progress_, this);
  pages_ = new QTabWidget(this);
  run_page_ = new RunPage(pages_);
  groups_page_ = new GroupsPage(dialogs_, *options_commands_, pages_);
  run_settings_ = new RunSettingsCommands(dialogs_, FileMenu, mExit, pages_, run_page_, groups_page_,
                                         options_commands_, rng_, this);
  count_warnings_ = std::make_unique<CountWarnings>(*run_page_);
  auto* distances_page = new QWidget(pages_);
  distances_page->setObjectName("TS_GD");
  pages_->addTab(run_page_, "F-statistics, Testing and Disequilibrium");
  pages_->addTab(groups_page_, "Comp. among groups of samples");
  pages_->addTab(distances_page, "Genetic Distances");
  pages_->setTabEnabled(1, false);
  pages_->setTabEnabled(2, false);
  pages_->setCurrentIndex(0);
  // Scroll ranges: the pages never shrink below this, nor below what their
  // captions need.
  pages_->setMinimumSize(pages_->minimumSizeHint().expandedTo(QSize(kScrollWidth, kScrollHeight)));

  auto* scroll = new QScrollArea(this);
  scroll->setWidget(pages_);
  scroll->setWidgetResizable(true);
  setCentralWidget(scroll);
  build_status_bar();

  data_summary_ = new DataSummaryWindow(this);
  convert_ = new ConvertCommands(*this, dialogs_, host_, *progress_strip_);
  connect(Torvigenepop1, &QAction::triggered, convert_, &ConvertCommands::data_to_genepop);
  connect(GenepopTorvi1, &QAction::triggered, convert_, &ConvertCommands::genepop_to_data);
  connect(mat2col, &QAction::triggered, convert_, &ConvertCommands::matrices_to_columns);
  build_conveniences();
  place_window();

  connect(run_page_->BT_Run, &QPushButton::clicked, this, &MainWindow::run_clicked);
  connect(groups_page_->BT_Run2, &QPushButton::clicked, this, &MainWindow::run_groups_clicked);
  connect(&host_, &QtHost::caption, this, &QWidget::setWindowTitle);
  connect(&host_, &QtHost::run_file, status_progress_, &StatusProgress::show_run_file);
  connect(&host_, &QtHost::section, status_progress_, &StatusProgress::show_section);
  connect(&worker_, &RunWorker::finished, this, &MainWindow::after_run);
}

MainWindow::~MainWindow() = default;

void MainWindow::build_menus() {
  QMenuBar* bar = menuBar();

  FileMenu = bar->addMenu("&File");
  mNew = add_item(FileMenu, "mNew", "&New");
  hide_item(mNew);
  mOpen = add_item(FileMenu, "mOpen", "&Open");
  SaveDefaultOptions1 = add_item(FileMenu, "SaveDefaultOptions1", "Save &Default Options");
  mExit = add_item(FileMenu, "mExit", "E&xit");
  connect(mOpen, &QAction::triggered, this, &MainWindow::open_clicked);
  connect(SaveDefaultOptions1, &QAction::triggered, this, &MainWindow::save_default_options_clicked);
  connect(mExit, &QAction::triggered, this, &MainWindow::exit_clicked);

  OptionsMenu = bar->addMenu("&Options");
  Labelfileforpops1 = add_item(OptionsMenu, "Labelfileforpops1", "Label file for pops");
  Locitouse1 = add_item(OptionsMenu, "Locitouse1", "Loci to use");
  Samplestouse1 = add_item(OptionsMenu, "Samplestouse1", "Samples to use");
  options_commands_ = new OptionsCommands(dialogs_, host_, Labelfileforpops1, Locitouse1, Samplestouse1, this);
  set_menu_enabled(OptionsMenu, false);

  mgd = bar->addAction("&Genetic distances");
  mgd->setObjectName("mgd");
  hide_item(mgd);

  MantelMenu = bar->addMenu("&Mantelise it!");
  mat2col = add_item(MantelMenu, "mat2col", "Matrices->Columns");
  Mantelproper1 = add_item(MantelMenu, "Mantelproper1", "Multiple regression and partial Mantel");
  connect(Mantelproper1, &QAction::triggered, this, &MainWindow::regress_clicked);

  mBiaseddisp = bar->addAction("&Biased dispersal");
  mBiaseddisp->setObjectName("mBiaseddisp");
  connect(mBiaseddisp, &QAction::triggered, this, &MainWindow::biased_dispersal_clicked);

  UtilitiesMenu = bar->addMenu("&Utilities");
  mResetseedsRandomNumberGenerator1 =
      add_item(UtilitiesMenu, "mResetseedsRandomNumberGenerator1", "Reset seeds Random Number Generator");
  connect(mResetseedsRandomNumberGenerator1, &QAction::triggered, this, &MainWindow::reset_seeds_clicked);
  QMenu* conversion = UtilitiesMenu->addMenu("File conversion");
  Torvigenepop1 = add_item(conversion, "Torvigenepop1", "Torvi->Genepop");
  GenepopTorvi1 = add_item(conversion, "GenepopTorvi1", "Genepop->Torvi");
  TorviNexus1 = add_item(conversion, "TorviNexus1", "Torvi->Nexus");
  hide_item(TorviNexus1);
  // These two do nothing: shown but disabled rather than silently inert.
  mAllelebining1 = pending(add_item(UtilitiesMenu, "mAllelebining1", "Allele bining"));
  mSubsamplingdataset1 = pending(add_item(UtilitiesMenu, "mSubsamplingdataset1", "Subsampling data set"));
  mDominanttocodominant1 = add_item(UtilitiesMenu, "mDominanttocodominant1", "Dominant to codominant");
  hide_item(mDominanttocodominant1);

  HelpMenu = bar->addMenu("&Help");
  mContents1 = add_item(HelpMenu, "mContents1", "&Contents");
  hide_item(mContents1);
  mAbout = add_item(HelpMenu, "mAbout", "&About");
  connect(mAbout, &QAction::triggered, this, &MainWindow::about_clicked);
}

bool MainWindow::available(const QAction* action) {
  QVariant wanted = action->property(kAvailableProperty);
  return wanted.isValid() ? wanted.toBool() : action->isEnabled();
}

void MainWindow::set_available(QAction* action, bool on) {
  if (action->property(kPendingProperty).toBool()) {
    action->setProperty(kAvailableProperty, on);
    return;
  }
  action->setEnabled(on);
}

void MainWindow::set_menu_enabled(QMenu* menu, bool on) { menu->menuAction()->setEnabled(on); }

void MainWindow::start_up() {
  load_seeds(host_, rng_, seeds_path_);
  dialogs_.about();
}

void MainWindow::open_clicked() { open_files(std::nullopt); }

void MainWindow::open_files(const std::optional<QStringList>& files) {
  set_menu_enabled(OptionsMenu, false);
  run_settings_->set_open_enabled(false);
  run_page_->BT_Run->setEnabled(false);
  groups_page_->reset();
  set_menu_enabled(UtilitiesMenu, true);
  nb_perm_.perm_hw_within = nb_perm_.perm_hw_overall = 0;
  nb_perm_.perm_popdiff_hw_default = nb_perm_.perm_popdiff_nohw = 0;
  file_list_.clear();
  options_commands_->reset(DataSet{});

  RunOptions shown = run_page_->options();
  apply_default_options(read_default_options(store_), shown, nb_perm_);
  run_page_->set_options(shown);

  file_list_ = files ? *files : dialogs_.open_data_files();
  set_available(Labelfileforpops1, file_list_.size() < 2);

  QStringList checked;
  for (const QString& entry : file_list_) {
    if (!is_data_file(entry)) continue;
    const QString base_name = entry.left(entry.size() - 4);
    setWindowTitle(QString("Torvi for windows") + ".******   Processing " + data_file_name(base_name));
    DataSet header;
    if (!check_header(host_, entry.toStdString(), header)) return;
    options_commands_->reset(header);
    set_menu_enabled(OptionsMenu, true);
    run_settings_->set_open_enabled(true);
    run_page_->BT_Run->setEnabled(true);
    pages_->setTabEnabled(1, true);
    set_menu_enabled(UtilitiesMenu, false);
    checked << entry;
  }
  if (checked.isEmpty()) return;
  data_summary_->summarise(checked);
  recent_->add(checked);
}

std::vector<std::string> MainWindow::data_files() const {
  // Only data files are analysed; another file chosen beside them at Open
  // was never checked.
  std::vector<std::string> files;
  for (const QString& entry : file_list_)
    if (is_data_file(entry)) files.push_back(entry.toStdString());
  return files;
}

void MainWindow::before_run(Job job) {
  // Nothing that starts work, or changes what the run reads, stays enabled.
  job_ = job;
  mExit->setEnabled(false);
  mOpen->setEnabled(false);
  run_page_->BT_Run->setEnabled(false);
  set_menu_enabled(OptionsMenu, false);
  run_settings_->set_open_enabled(false);  // the run holds the generator
  run_page_->setEnabled(false);
  Mantelproper1->setEnabled(false);  // the run holds the generator
  groups_page_->setEnabled(false);
  progress_strip_->watch();
  status_progress_->watch();
  run_started_ = QDateTime::currentDateTime();
}

void MainWindow::run_clicked() {
  RunSettings settings;
  settings.options = run_page_->options();
  settings.options.label_file_checked = Labelfileforpops1->isChecked();
  settings.selection = options_commands_->selection();
  settings.file_list = data_files();
  settings.threads = std::max(1, QThread::idealThreadCount());
  const QStringList skipped = skipped_test_lines(settings.options, settings.selection, settings.file_list);
  if (!skipped.isEmpty() && !dialogs_.run_anyway(skipped)) return;
  before_run(Job::run);
  worker_.start(host_, rng_, nb_perm_, std::move(settings), seeds_path_);
}

void MainWindow::run_groups_clicked() {
  GroupRunSettings settings;
  settings.comparison = groups_page_->comparison();
  if (settings.comparison.permutations < 1) {
    dialogs_.message(true, "Choose a number of permutations: the observed groups count as one of them.");
    return;
  }
  settings.file_list = data_files();
  settings.selection = options_commands_->selection();
  settings.label_file_checked = Labelfileforpops1->isChecked();
  settings.threads = std::max(1, QThread::idealThreadCount());
  if (groups_page_->CB_json->isChecked()) settings.results_document = CommandRecord{"groups", false, {}, Json::object()};
  before_run(Job::groups);
  worker_.start_job([this, settings = std::move(settings)] { return compare_groups(host_, rng_, settings, seeds_path_); },
                    seeds_path_);
}

void MainWindow::after_run() {
  progress_strip_->stop_watching();
  status_progress_->stop_watching();
  setWindowTitle(kWindowCaption);
  show_results(files_of_run(worker_.outcome(), run_started_));
  if (!worker_.failure().isEmpty()) {
    // The stream has advanced; the next start continues it.
    if (!worker_.refused()) save_seeds(rng_, seeds_path_);
    dialogs_.message(true, "The run stopped: " + worker_.failure());
  }
  run_page_->BT_Run->setEnabled(false);
  set_menu_enabled(OptionsMenu, false);
  run_settings_->set_open_enabled(false);
  file_list_.clear();
  options_commands_->set_default_labels();  // as the report named the samples
  mExit->setEnabled(true);
  mOpen->setEnabled(true);
  set_menu_enabled(UtilitiesMenu, true);
  run_page_->setEnabled(true);
  Mantelproper1->setEnabled(true);
  groups_page_->setEnabled(true);
  // The second page waits for the next Open after its own run.
  if (job_ == Job::groups) {
    pages_->setTabEnabled(1, false);
    groups_page_->reset();
  }
  emit run_finished();
}

void MainWindow::exit_clicked() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run in progress holds the generator, a conversion its files; the
  // window stays until they end.
  if (worker_.running() || convert_->running()) {
    event->ignore();
    return;
  }
  save_seeds(rng_, seeds_path_);
  remember_window();
  event->accept();
}

void MainWindow::about_clicked() { dialogs_.about(); }

void MainWindow::biased_dispersal_clicked() {
  BiasDispersalWindow window(dialogs_, rng_, seeds_path_, std::max(1, QThread::idealThreadCount()), this);
  window.exec();
  show_results(window.files_written());
}

void MainWindow::reset_seeds_clicked() { reset_seeds(host_, rng_, seeds_path_); }

void MainWindow::regress_clicked() {
  RegressWindow window(dialogs_, rng_, seeds_path_, this);
  window.exec();
  show_results(window.files_written());
}

void MainWindow::save_default_options_clicked() {
  DefaultOptionsDialog dialog(store_, this);
  dialog.exec();
}

}  // namespace torvi::gui
