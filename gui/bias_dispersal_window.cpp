#include "bias_dispersal_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

#include "progress_strip.h"
#include "radio_group.h"
#include "settings_file_actions.h"
#include "tool_tooltips.h"
#include "torvi/results.h"
#include "torvi/seeds.h"
#include "torvi/settings.h"

namespace torvi::gui {

namespace {

constexpr const char* kCaption = "Bias dispersal tests";
constexpr const char* kOpenFilter = "genepop files (*.gen)";
constexpr const char* kLabelBeforeOpen = "Data file name is ";
constexpr const char* kLabelAfterOpen = "Data file being processed is : ";
constexpr int kFstItem = static_cast<int>(DispersalTest::fst);

QAction* add_item(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QLineEdit* letter_box(const char* name, char letter, QWidget* parent) {
  auto* box = new QLineEdit(QString(QChar(letter)), parent);
  box->setObjectName(name);
  box->setMaxLength(1);
  return box;
}

}  // namespace

BiasDispersalWindow::BiasDispersalWindow(UserDialogs& dialogs, Rng& rng, std::string seeds_path, int threads,
                                         QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      rng_(rng),
      seeds_path_(std::move(seeds_path)),
      threads_(std::max(1, threads)),
      host_(dialogs, progress_) {
  setObjectName("Biasdisp");
  setWindowTitle(kCaption);
  build_controls();
  build_menus();
  add_tooltips(*this);
  set_controls_enabled(false);
  connect(Ephil, &QLineEdit::textChanged, this, &BiasDispersalWindow::letter_changed);
  connect(Edisp, &QLineEdit::textChanged, this, &BiasDispersalWindow::letter_changed);
  connect(Bt_Go, &QPushButton::clicked, this, &BiasDispersalWindow::go_clicked);
}

BiasDispersalWindow::~BiasDispersalWindow() {
  if (worker_) worker_->wait();
}

void BiasDispersalWindow::build_controls() {
  Ephil = letter_box("Ephil", kDefaultPhilLetter, this);
  Edisp = letter_box("Edisp", kDefaultDispLetter, this);
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setObjectName("SpinEdit1");
  SpinEdit1->setRange(kDispersalMinPermutations, kDispersalMaxPermutations);
  SpinEdit1->setSingleStep(kDispersalPermutationStep);
  SpinEdit1->setValue(kDispersalMinPermutations);
  RadioGroup2 = new RadioGroup("RadioGroup2", QString(), {"One sided test", "Two sided test "}, 1, this);
  RadioGroup2->set_item_index(0);
  CLB_tests = new QListWidget(this);
  CLB_tests->setObjectName("CLB_tests");
  for (const char* item : kDispersalTestItems) {
    auto* line = new QListWidgetItem(item, CLB_tests);
    line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
    line->setCheckState(Qt::Unchecked);
  }
  Label4 = new QLabel(kLabelBeforeOpen, this);
  Label4->setObjectName("Label4");
  Label4->hide();
  CB_json = new QCheckBox("Also write a JSON file", this);
  CB_json->setObjectName("CB_json");
  Bt_Go = new QPushButton("GO!", this);
  Bt_Go->setObjectName("Bt_Go");
  progress_strip_ = new ProgressStrip(progress_, this);

  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel("Letter for the most philopatric group", this), 0, 0);
  grid->addWidget(Ephil, 0, 1);
  grid->addWidget(new QLabel("Letter for the other group ", this), 1, 0);
  grid->addWidget(Edisp, 1, 1);
  grid->addWidget(new QLabel("Number of permutations : ", this), 2, 0);
  grid->addWidget(SpinEdit1, 2, 1);
  grid->addWidget(RadioGroup2, 3, 0, 1, 2);
  grid->addWidget(CLB_tests, 0, 2, 4, 1);
  grid->addWidget(Label4, 4, 0, 1, 2);
  grid->addWidget(CB_json, 5, 0, 1, 2);
  grid->addWidget(Bt_Go, 4, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addWidget(progress_strip_);  // along the bottom
}

void BiasDispersalWindow::build_menus() {
  auto* bar = new QMenuBar(this);
  FileMenu = bar->addMenu("&File");
  Open1 = add_item(FileMenu, "Open1", "&Open");
  SaveSettings = add_item(FileMenu, "SaveSettings", "Save run settings...");
  OpenSettings = add_item(FileMenu, "OpenSettings", "Open run settings...");
  Exit1 = add_item(FileMenu, "Exit1", "E&xit");
  UtilMenu = bar->addMenu("&Util");
  Resetrandom = add_item(UtilMenu, "Resetrandom", "Reset Random Number generator");
  UtilMenu->menuAction()->setVisible(false);
  HelpMenu = bar->addMenu("&Help");
  About1 = add_item(HelpMenu, "About1", "&About");
  Contents1 = add_item(HelpMenu, "Contents1", "&Contents");
  Contents1->setEnabled(false);  // there is no help file to open
  layout()->setMenuBar(bar);
  connect(Open1, &QAction::triggered, this, &BiasDispersalWindow::open_clicked);
  connect(Exit1, &QAction::triggered, this, &QDialog::close);
  connect(SaveSettings, &QAction::triggered, this, &BiasDispersalWindow::save_settings_clicked);
  connect(OpenSettings, &QAction::triggered, this, &BiasDispersalWindow::open_settings_clicked);
  connect(About1, &QAction::triggered, this, [this] { dialogs_.about(); });
}

void BiasDispersalWindow::set_controls_enabled(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{Ephil, Edisp, SpinEdit1, RadioGroup2, CLB_tests, CB_json, Bt_Go})
    w->setEnabled(on);
}

void BiasDispersalWindow::letter_changed(const QString& text) {
  if (text == "P") dialogs_.message(true, display_text(kInvalidLetterMessage));
}

void BiasDispersalWindow::open_clicked() {
  Ephil->setText(QString(QChar(kDefaultPhilLetter)));
  Edisp->setText(QString(QChar(kDefaultDispLetter)));
  if (const std::optional<QString> chosen = dialogs_.open_file(QString(), kOpenFilter)) {
    QFile file(*chosen);
    if (file.open(QIODevice::ReadOnly)) {
      input_ = *chosen;
      Label4->setText(kLabelAfterOpen + QString::fromStdString(dispersal_base_name(chosen->toStdString())) + ".gen");
      Label4->show();
    } else {
      dialogs_.message(true, "Cannot read " + *chosen + ": " + file.errorString());
    }
  }
  // A cancelled dialog keeps the file chosen before (none at first).
  RadioGroup2->set_item_index(0);
  CLB_tests->item(kFstItem)->setCheckState(Qt::Checked);
  set_controls_enabled(true);
}

DispersalSettings BiasDispersalWindow::controls() const {
  DispersalSettings st;
  st.input = input_.toStdString();
  const QString phil = Ephil->text(), disp = Edisp->text();
  st.phil_letter = phil.size() == 1 ? static_cast<char>(phil[0].unicode()) : kDefaultPhilLetter;
  st.disp_letter = disp.size() == 1 ? static_cast<char>(disp[0].unicode()) : kDefaultDispLetter;
  st.permutations = SpinEdit1->value();
  st.two_sided = RadioGroup2->item_index() == 1;
  for (int i = 0; i < kDispersalTestCount; ++i)
    st.tests[static_cast<size_t>(i)] = CLB_tests->item(i)->checkState() == Qt::Checked;
  return st;
}

void BiasDispersalWindow::set_controls(const DispersalSettings& st) {
  Ephil->setText(QString(QChar(st.phil_letter)));
  Edisp->setText(QString(QChar(st.disp_letter)));
  SpinEdit1->setValue(st.permutations);
  RadioGroup2->set_item_index(st.two_sided ? 1 : 0);
  for (int i = 0; i < kDispersalTestCount; ++i)
    CLB_tests->item(i)->setCheckState(st.tests[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
  if (!st.input.empty()) {
    input_ = QString::fromStdString(st.input);
    Label4->setText(kLabelAfterOpen + QString::fromStdString(dispersal_base_name(st.input)) + ".gen");
    Label4->show();
  }
  set_controls_enabled(!input_.isEmpty());
}

void BiasDispersalWindow::save_settings_clicked() {
  save_settings_as(dialogs_, DispersalSettingsFile{controls(), std::nullopt, CB_json->isChecked()}, rng_,
                   write_dispersal_settings_file);
}

void BiasDispersalWindow::open_settings_clicked() {
  const std::optional<DispersalSettingsFile> s = open_settings_from(dialogs_, read_dispersal_settings_file);
  if (!s) return;
  set_controls(s->settings);
  CB_json->setChecked(s->json);
  if (s->seeds) rng_ = *s->seeds;
}

// The window's settings for a run, or false after saying what is missing.
bool BiasDispersalWindow::settings_usable(DispersalSettings& st) {
  const QString phil = Ephil->text(), disp = Edisp->text();
  QString problem;
  if (input_.isEmpty())
    problem = "No data file has been chosen: choose one with File, Open.";
  else if (phil.size() != 1 || disp.size() != 1 || phil[0].unicode() > 0x7f || disp[0].unicode() > 0x7f)
    problem = "Each group needs a letter of its own.";
  else if (auto refused = sex_letters_problem(static_cast<char>(phil[0].unicode()), static_cast<char>(disp[0].unicode())))
    problem = display_text(*refused);
  if (!problem.isEmpty()) {
    dialogs_.message(true, problem);
    return false;
  }
  st = controls();
  st.output_dir = QFileInfo(input_).absolutePath().toStdString();
  st.threads = threads_;
  if (CB_json->isChecked()) st.results_document = CommandRecord{"dispersal", false, {}, Json::object()};
  return true;
}

void BiasDispersalWindow::go_clicked() {
  DispersalSettings st;
  if (!settings_usable(st)) return;
  set_controls_enabled(false);
  FileMenu->menuAction()->setEnabled(false);
  progress_strip_->watch();
  outcome_ = DispersalOutcome{};
  document_asked_ = st.results_document.has_value();
  worker_ = QThread::create([this, st] {
    // Held for the run, so that no other run draws the same stream.
    FileLock seeds_lock;
    if (auto problem = lock_seeds_file(seeds_lock, seeds_path_)) {
      host_.show_error(*problem);
      return;
    }
    try {
      outcome_ = run_dispersal_tests(host_, rng_, st, seeds_path_);
    } catch (const std::exception& e) {
      host_.show_error(std::string("The tests stopped: ") + e.what());
    }
  });
  connect(worker_, &QThread::finished, this, &BiasDispersalWindow::after_run);
  worker_->start();
}

void BiasDispersalWindow::after_run() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  progress_strip_->stop_watching();
  // The controls stay disabled until the next Open.
  if (outcome_.status != DispersalOutcome::Status::refused) Label4->hide();
  // Records the tests left out are said, not dropped silently.
  if (const std::vector<std::string> skipped = skipped_records(outcome_); !skipped.empty()) {
    QStringList lines;
    for (const std::string& line : skipped) lines << QString::fromStdString(line);
    dialogs_.message(false, "Not every record of " + input_ + " was used:\n" + lines.join("\n"));
  }
  FileMenu->menuAction()->setEnabled(true);
  emit run_finished();
}

std::vector<RunFile> BiasDispersalWindow::files_written() const {
  std::vector<std::string> paths{outcome_.res_path, outcome_.per_path};
  if (document_asked_ && !outcome_.res_path.empty()) paths.push_back(results_document_path(outcome_.res_path));
  std::vector<RunFile> files;
  for (const std::string& path : paths)
    if (!path.empty() && QFileInfo::exists(QString::fromStdString(path))) files.push_back({QString::fromStdString(path), 0});
  return files;
}

void BiasDispersalWindow::closeEvent(QCloseEvent* event) {
  // The run holds the program's generator; the window stays until it ends.
  if (worker_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace torvi::gui
