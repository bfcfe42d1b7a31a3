#include "progress_strip.h"

#include <algorithm>
#include <climits>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "torvi/host.h"

namespace torvi::gui {

ProgressStrip::ProgressStrip(RunProgress& progress, QWidget* parent)
    : QWidget(parent), progress_(progress), timer_(new QTimer(this)) {
  bar = new QProgressBar(this);
  bar->setTextVisible(true);
  BT_Cancel = new QPushButton("Cancel", this);
  BT_Cancel->setObjectName("BT_Cancel");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bar, 1);
  layout->addWidget(BT_Cancel);

  connect(BT_Cancel, &QPushButton::clicked, this, [this] {
    progress_.stop = true;
    BT_Cancel->setEnabled(false);
  });
  timer_->setInterval(50);
  connect(timer_, &QTimer::timeout, this, &ProgressStrip::refresh);
  hide();
}

void ProgressStrip::watch() {
  progress_.stop = false;
  BT_Cancel->setEnabled(true);
  timer_->start();
}

void ProgressStrip::stop_watching() {
  timer_->stop();
  hide();
}

void ProgressStrip::refresh() {
  if (!progress_.active) {
    hide();
    return;
  }
  // A bar holds int; very long runs are scaled down to fit.
  const int64_t range = std::max<int64_t>(progress_.range, 1);
  const int64_t scale = range / INT_MAX + 1;
  bar->setRange(0, static_cast<int>(range / scale));
  const int64_t done = std::min(progress_.done.load(), range);
  bar->setValue(static_cast<int>(done / scale));
  const double elapsed = static_cast<double>(steady_now_ns() - progress_.started_ns) * 1e-9;
  bar->setFormat("%p%   " + QString::fromStdString(progress_time_text(progress_time(elapsed, done, range))));
  show();
}

}  // namespace torvi::gui
