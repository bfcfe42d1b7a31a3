#include "status_progress.h"

#include <algorithm>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "torvi/host.h"

namespace torvi::gui {

namespace {

constexpr int kRefreshMs = 200;
constexpr int kOverallSteps = 1000;
constexpr int kBarWidth = 110;
constexpr double kNanosecond = 1e-9;
const QString kSeparator = " | ";

}  // namespace

QString status_text(const RunStage& stage, int64_t done, int64_t range, double test_elapsed, double run_elapsed) {
  QStringList parts;
  if (!stage.data_file.isEmpty()) {
    QString file = QFileInfo(stage.data_file).fileName();
    if (stage.files > 1) file += QString(" (file %1/%2)").arg(stage.file).arg(stage.files);
    parts << file;
  }
  if (!stage.section_name.isEmpty())
    parts << QString("%1 (section %2/%3)").arg(stage.section_name).arg(stage.section).arg(stage.sections);
  if (range > 0) {
    parts << QString("%1 of %2 randomisations").arg(std::min(done, range)).arg(range);
    parts << QString::fromStdString(progress_time_text(progress_time(test_elapsed, done, range)));
  } else {
    parts << QString::fromStdString("elapsed " + duration_text(run_elapsed));
  }
  return parts.join(kSeparator);
}

double overall_done(const RunStage& stage, int64_t done, int64_t range) {
  if (stage.files < 1) return 0;
  double in_file = 0;
  if (stage.sections > 0) {
    const double in_section = range > 0 ? static_cast<double>(std::min(done, range)) / static_cast<double>(range) : 0;
    in_file = (std::max(stage.section - 1, 0) + in_section) / stage.sections;
  }
  return std::clamp((std::max(stage.file - 1, 0) + in_file) / stage.files, 0.0, 1.0);
}

StatusProgress::StatusProgress(RunProgress& progress, QWidget* parent)
    : QWidget(parent), progress_(progress), timer_(new QTimer(this)) {
  setObjectName("StatusProgress");
  text = new QLabel(this);
  text->setObjectName("StatusText");
  // The line may be longer than the bar is wide: it never widens the window.
  text->setMinimumWidth(0);
  text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  test = new QProgressBar(this);
  test->setObjectName("TestProgress");
  test->setFormat("test %p%");
  test->setToolTip("Randomisations of the running test done");
  overall = new QProgressBar(this);
  overall->setObjectName("OverallProgress");
  overall->setRange(0, kOverallSteps);
  overall->setFormat("run %p%");
  overall->setToolTip("Share of the whole run done: files, sections and the running test");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text, 1);
  for (QProgressBar* bar : {test, overall}) {
    bar->setFixedWidth(kBarWidth);
    bar->hide();
    layout->addWidget(bar);
  }
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this, &StatusProgress::refresh);
}

void StatusProgress::watch() {
  stage_ = RunStage{};
  started_ns_ = steady_now_ns();
  overall->setValue(0);
  overall->show();
  timer_->start();
  refresh();
}

void StatusProgress::stop_watching() {
  timer_->stop();
  stage_ = RunStage{};
  text->clear();
  text->setToolTip({});
  test->hide();
  overall->hide();
}

void StatusProgress::show_run_file(const QString& data_file, int file, int files) {
  stage_ = RunStage{data_file, file, files, {}, 0, 0};
  if (timer_->isActive()) refresh();
}

void StatusProgress::show_section(const QString& name, int section, int sections) {
  stage_.section_name = name;
  stage_.section = section;
  stage_.sections = sections;
  if (timer_->isActive()) refresh();
}

void StatusProgress::refresh() {
  const bool testing = progress_.active.load();
  const int64_t range = testing ? progress_.range.load() : 0;
  const int64_t done = progress_.done.load();
  const int64_t now = steady_now_ns();
  const double test_elapsed = static_cast<double>(now - progress_.started_ns) * kNanosecond;
  const double run_elapsed = static_cast<double>(now - started_ns_) * kNanosecond;
  // A line wider than the bar (a long section name, a narrow or scaled
  // window) loses its middle, not the time at its end; the tooltip holds it whole.
  const QString line = status_text(stage_, done, range, test_elapsed, run_elapsed);
  text->setText(text->fontMetrics().elidedText(line, Qt::ElideMiddle, text->width()));
  text->setToolTip(line);
  test->setVisible(range > 0);
  if (range > 0) {
    // A bar holds int: per mille of the test.
    test->setRange(0, kOverallSteps);
    test->setValue(static_cast<int>(static_cast<double>(std::min(done, range)) / static_cast<double>(range) *
                                    kOverallSteps));
  }
  overall->setValue(static_cast<int>(overall_done(stage_, done, range) * kOverallSteps));
}

}  // namespace torvi::gui
