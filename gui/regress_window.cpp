#include "regress_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

#include "progress_strip.h"
#include "settings_file_actions.h"
#include "tool_tooltips.h"
#include "torvi/results.h"
#include "torvi/seeds.h"
#include "regress_charts.h"

namespace torvi::gui {

namespace {

constexpr int kRandomisationsStep = 500;
constexpr int kWidth = 900, kHeight = 760;
constexpr const char* kSaveFilters = "all files (*.*)|*.*|estimates and residuals (*.res)|*.res";
constexpr int kAllFiles = 1, kResFiles = 2;
constexpr const char* kNoOutputMessage =
    "The report was not written: no output file was chosen at File > Open (the charts show the fit).";

QPushButton* arrow(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}

QListWidget* list(const char* name, QAbstractItemView::SelectionMode mode, QWidget* parent) {
  auto* l = new QListWidget(parent);
  l->setObjectName(name);
  l->setSelectionMode(mode);
  return l;
}

// Moves the selected entries of `from` (in list order) to the end of `to`.
void move_selected(QListWidget* from, QListWidget* to) {
  for (int i = 0; i < from->count();) {
    if (from->item(i)->isSelected()) {
      QListWidgetItem* item = from->takeItem(i);
      item->setSelected(false);
      to->addItem(item);
    } else {
      ++i;
    }
  }
}

}  // namespace

int RegressWindow::variable_number(const QListWidgetItem* item) { return item->text().section('.', 0, 0).toInt(); }

RegressWindow::RegressWindow(UserDialogs& dialogs, Rng& rng, std::string seeds_path, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), rng_(rng), seeds_path_(std::move(seeds_path)), host_(dialogs, progress_) {
  setObjectName("fmultreg");
  setWindowTitle("Partial Mantel or Regression");
  build();
  add_tooltips(*this);
  // As the menu command opens it: no file, the explanatory part hidden.
  show_explanatory(false);
  CheckBox1->hide();
  GO->setEnabled(false);
  connect(&worker_, &RegressWorker::finished, this, &RegressWindow::after_run);
}

RegressWindow::~RegressWindow() = default;

void RegressWindow::build() {
  auto* menu_bar = new QMenuBar(this);
  FileMenu = menu_bar->addMenu("&File");
  open1 = FileMenu->addAction("&Open");
  open1->setObjectName("open1");
  SaveSettings = FileMenu->addAction("Save run settings...");
  SaveSettings->setObjectName("SaveSettings");
  OpenSettings = FileMenu->addAction("Open run settings...");
  OpenSettings->setObjectName("OpenSettings");
  Exit1 = FileMenu->addAction("E&xit");
  Exit1->setObjectName("Exit1");
  connect(open1, &QAction::triggered, this, &RegressWindow::open1Click);
  connect(Exit1, &QAction::triggered, this, &QDialog::close);
  connect(SaveSettings, &QAction::triggered, this, &RegressWindow::save_settings_clicked);
  connect(OpenSettings, &QAction::triggered, this, &RegressWindow::open_settings_clicked);

  ListBox1 = list("ListBox1", QAbstractItemView::ExtendedSelection, this);
  ListBox3 = list("ListBox3", QAbstractItemView::SingleSelection, this);
  ListBox2 = list("ListBox2", QAbstractItemView::ExtendedSelection, this);
  ListBox3->setMaximumHeight(ListBox3->fontMetrics().height() * 3);
  Label5 = new QLabel("Explanatory variables", this);
  Label5->setObjectName("Label5");
  Button3 = arrow("Button3", ">", this);
  Button4 = arrow("Button4", "<", this);
  Button1 = arrow("Button1", ">", this);
  Button2 = arrow("Button2", "<", this);
  GO = arrow("GO", "RUN", this);
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setObjectName("SpinEdit1");
  SpinEdit1->setRange(regress::kMinRandomisations, regress::kMaxRandomisations);
  SpinEdit1->setSingleStep(kRandomisationsStep);
  SpinEdit1->setValue(regress::kDefaultRandomisations);
  CheckBox1 = new QCheckBox("Data from distance matrices", this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox2 = new QCheckBox("Save residuals", this);
  CheckBox2->setObjectName("CheckBox2");
  CB_json = new QCheckBox("Also write a JSON file", this);
  CB_json->setObjectName("CB_json");
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // the report's columns line up
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  charts = new RegressCharts(this);
  progress_strip = new ProgressStrip(progress_, this);
  lay_out(menu_bar);

  connect(Button3, &QPushButton::clicked, this, &RegressWindow::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &RegressWindow::Button4Click);
  connect(Button1, &QPushButton::clicked, this, &RegressWindow::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &RegressWindow::Button2Click);
  connect(GO, &QPushButton::clicked, this, &RegressWindow::GOClick);
}

// Lists and arrows on the left, RUN and its options on the right, the
// charts and the report below.
void RegressWindow::lay_out(QMenuBar* menu_bar) {
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Variables", this), 0, 0);
  lists->addWidget(ListBox1, 1, 0, 3, 1);
  lists->addWidget(Button3, 1, 1);
  lists->addWidget(Button4, 2, 1, Qt::AlignTop);
  lists->addWidget(new QLabel("Dependant variable", this), 0, 2);
  lists->addWidget(ListBox3, 1, 2);
  lists->addWidget(Label5, 2, 2, Qt::AlignBottom);
  lists->addWidget(ListBox2, 3, 2);
  lists->addWidget(Button1, 3, 1, Qt::AlignTop);
  lists->addWidget(Button2, 3, 1, Qt::AlignBottom);
  auto* run_box = new QVBoxLayout;
  run_box->addWidget(GO);
  run_box->addWidget(new QLabel("# randomisations", this));
  run_box->addWidget(SpinEdit1);
  run_box->addWidget(CheckBox1);
  run_box->addWidget(CheckBox2);
  run_box->addWidget(CB_json);
  run_box->addStretch();
  lists->addLayout(run_box, 0, 3, 4, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar);
  layout->addWidget(progress_strip);
  layout->addLayout(lists, 2);
  layout->addWidget(charts, 3);
  layout->addWidget(Memo1, 2);
  // Within the screen: at 1.5x scaling a 1366 x 768 screen is 911 x 512.
  const QScreen* screen = QGuiApplication::primaryScreen();
  resize(screen ? QSize(kWidth, kHeight).boundedTo(screen->availableGeometry().size()) : QSize(kWidth, kHeight));
}

void RegressWindow::show_explanatory(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{ListBox2, Button1, Button2, Label5}) w->setVisible(on);
}

void RegressWindow::set_arrows_enabled(bool on) {
  for (QPushButton* b : {Button1, Button2, Button3, Button4}) b->setEnabled(on);
}

// A file that could not be opened leaves nothing to choose from.
void RegressWindow::forget_file() {
  input_path_.clear();
  header_ = regress::ColumnHeader{};
  ListBox1->clear();
  ListBox2->clear();
  ListBox3->clear();
  show_explanatory(false);
  CheckBox1->hide();
  set_arrows_enabled(false);
  GO->setEnabled(false);
}

void RegressWindow::open1Click() {
  const auto input = dialogs_.open_file({"Data (in columnar mode only) are in : ", "all (*.*)|*.*", kAllFiles});
  if (!input) return;
  const auto output = dialogs_.save_file_as({"save output of Multreg/Mantel in :", kSaveFilters, kAllFiles});
  forget_file();
  output_path_ = output.value_or(QString());
  const std::string in = input->toStdString(), out = output_path_.toStdString();
  try {
    header_ = regress::read_column_header(in, [&](const std::string& title) {
      if (!out.empty()) append_section(out, regress::opening_lines(title, in));
    });
  } catch (const std::exception& e) {
    forget_file();
    dialogs_.message(true, QString::fromStdString(e.what()));
    return;
  }
  show_table(*input);
}

// Fills the lists from the header read, as File > Open leaves them.
void RegressWindow::show_table(const QString& input) {
  input_path_ = input;
  CheckBox1->setChecked(false);
  CheckBox1->setVisible(header_.objects > 0);
  for (int k = 1; k <= header_.variables; ++k)
    ListBox1->addItem(QString::number(k) + "." + QString::fromStdString(header_.names[k - 1]));
  set_arrows_enabled(true);
  GO->setEnabled(false);
}

void RegressWindow::Button3Click() {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  if (selected.isEmpty()) return;
  // The first selected entry in list order.
  QListWidgetItem* first = nullptr;
  for (int i = 0; i < ListBox1->count() && !first; ++i)
    if (ListBox1->item(i)->isSelected()) first = ListBox1->item(i);
  QListWidgetItem* item = ListBox1->takeItem(ListBox1->row(first));
  item->setSelected(false);
  ListBox3->addItem(item);
  Button3->setEnabled(false);
  Button4->setEnabled(true);
  show_explanatory(true);
  GO->setEnabled(ListBox2->count() > 0);
}

void RegressWindow::Button4Click() {
  if (ListBox3->count() > 0 && ListBox3->item(0)->isSelected()) {
    QListWidgetItem* item = ListBox3->takeItem(0);
    item->setSelected(false);
    ListBox1->addItem(item);
    show_explanatory(false);
  }
  Button3->setEnabled(ListBox1->count() > 0);
  Button4->setEnabled(ListBox3->count() > 0);
  GO->setEnabled(ListBox3->count() > 0 && ListBox2->count() > 0);
}

void RegressWindow::Button1Click() {
  move_selected(ListBox1, ListBox2);
  update_explanatory_buttons();
}

void RegressWindow::Button2Click() {
  move_selected(ListBox2, ListBox1);
  update_explanatory_buttons();
}

// RUN needs explanatory variables, and a dependent one: without it the run
// would have no response.
void RegressWindow::update_explanatory_buttons() {
  Button1->setEnabled(ListBox1->count() > 0);
  Button2->setEnabled(ListBox2->count() > 0);
  GO->setEnabled(ListBox2->count() > 0 && ListBox3->count() > 0);
}

void RegressWindow::GOClick() {
  if (worker_.running() || ListBox3->count() == 0 || ListBox2->count() == 0) return;
  regress::MantelRequest q;
  q.header = header_;
  q.distance = !CheckBox1->isHidden() && CheckBox1->isChecked();
  if (CheckBox2->isChecked()) {
    const auto res = dialogs_.save_file_as({"save estimates and residuals in : ", kSaveFilters, kResFiles, true});
    if (res) q.residuals_path = res->toStdString();
  }
  q.dependent = variable_number(ListBox3->item(0));
  for (int i = 0; i < ListBox2->count(); ++i) q.explanatory.push_back(variable_number(ListBox2->item(i)));
  q.randomisations = SpinEdit1->value();
  q.output_path = output_path_.toStdString();
  q.input_path = input_path_.toStdString();
  q.threads = std::max(1, QThread::idealThreadCount());
  if (CB_json->isChecked()) q.results_document = CommandRecord{"mantel", false, {}, Json::object()};
  if (const std::string problem = regress::request_problem(q); !problem.empty()) {
    dialogs_.message(true, QString::fromStdString(problem));
    return;
  }
  start_run(std::move(q));
}

// Reads the rows and runs on the worker thread; the fit reaches the charts
// on the window's thread.
void RegressWindow::start_run(regress::MantelRequest q) {
  // The report of this run starts where the output file ends now.
  files_written_.clear();
  if (!q.output_path.empty()) {
    files_written_.push_back({output_path_, QFileInfo(output_path_).size()});
    if (q.results_document)
      files_written_.push_back({QString::fromStdString(results_document_path(q.output_path)), 0});
  }
  if (!q.residuals_path.empty()) files_written_.push_back({QString::fromStdString(q.residuals_path), 0});
  set_arrows_enabled(false);
  GO->setEnabled(false);
  for (QAction* a : {open1, SaveSettings, OpenSettings, Exit1}) a->setEnabled(false);
  progress_strip->watch();
  const std::string input = input_path_.toStdString();
  const std::string dependent = header_.names[q.dependent - 1];
  std::vector<std::string> explanatory;
  for (int k : q.explanatory) explanatory.push_back(header_.names[k - 1]);
  worker_.start([this, q = std::move(q), input, dependent, explanatory] {
    const std::vector<float> rows = regress::read_column_rows(input, q.header);
    regress::run_mantel(q, rows, rng_, host_, [&](const regress::ObservedFit& fit) {
      QMetaObject::invokeMethod(
          charts, [this, fit, dependent, explanatory] { charts->show_fit(fit, dependent, explanatory); },
          Qt::QueuedConnection);
    });
  });
}

void RegressWindow::after_run() {
  progress_strip->stop_watching();
  std::erase_if(files_written_, [](const RunFile& f) { return !QFileInfo::exists(f.path); });
  // The stream has advanced: the next start of the program continues it.
  std::string reason;
  if (!save_seeds(rng_, seeds_path_, &reason))
    dialogs_.message(true, QString::fromStdString("The seeds could not be saved to " + seeds_path_ + ": " + reason));
  if (!worker_.failure().isEmpty()) dialogs_.message(true, worker_.failure());
  if (worker_.cancelled()) dialogs_.message(false, "Run cancelled: the report has no P-values.");
  else if (worker_.failure().isEmpty() && output_path_.isEmpty())
    dialogs_.message(false, kNoOutputMessage);  // the memo shows the output file: it stays empty
  load_memo();
  set_arrows_enabled(true);
  GO->setEnabled(false);
  for (QAction* a : {open1, SaveSettings, OpenSettings, Exit1}) a->setEnabled(true);
  emit run_finished();
}

void RegressWindow::load_memo() {
  if (output_path_.isEmpty()) return;  // the report went nowhere
  QFile f(output_path_);
  if (!f.open(QIODevice::ReadOnly)) return;
  QString text = QString::fromUtf8(f.readAll());
  text.replace("\r\n", "\n");
  Memo1->setPlainText(text);
}

void RegressWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ListBox1->setFocus();
}

void RegressWindow::closeEvent(QCloseEvent* event) {
  // The run holds the generator and the files; the window stays until it ends.
  if (worker_.running()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace torvi::gui
