#include "regress_charts.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>

namespace torvi::gui {

namespace {

constexpr qreal kMarkerSize = 2;
constexpr double kRangeMargin = 0.05;  // share of the data's span left free on each side

QValueAxis* axis(QChart* chart, Qt::Alignment side) {
  return qobject_cast<QValueAxis*>(chart->axes(side == Qt::AlignBottom ? Qt::Horizontal : Qt::Vertical).value(0));
}

// A point chart with no legend, circles of size 2, and value axes.
ClickableChart* point_chart(const char* name, QScatterSeries*& series, QWidget* parent) {
  auto* chart = new QChart;
  chart->legend()->hide();
  series = new QScatterSeries;
  series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
  series->setMarkerSize(kMarkerSize);
  series->setPen(Qt::NoPen);  // a border would cover circles this small
  chart->addSeries(series);
  for (Qt::Alignment side : {Qt::AlignBottom, Qt::AlignLeft}) {
    auto* a = new QValueAxis;
    chart->addAxis(a, side);
    series->attachAxis(a);
  }
  auto* view = new ClickableChart(chart, parent);
  view->setObjectName(name);
  view->setRenderHint(QPainter::Antialiasing);
  return view;
}

void set_range(QValueAxis* a, const std::vector<float>& v) {
  if (v.empty()) return;
  const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  const double span = std::max(static_cast<double>(*hi) - *lo, 1e-12);
  a->setRange(*lo - kRangeMargin * span, *hi + kRangeMargin * span);
}

// Replaces the points of `chart`'s series by (x[r], y[r]) and fits its axes.
void plot(QChartView* view, QScatterSeries* series, const std::vector<float>& x, const std::vector<float>& y,
          const QString& x_title, const QString& y_title) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(x.size()));
  for (size_t r = 0; r < x.size(); ++r) points.append(QPointF(x[r], y[r]));
  series->replace(points);
  QChart* chart = view->chart();
  set_range(axis(chart, Qt::AlignBottom), x);
  set_range(axis(chart, Qt::AlignLeft), y);
  axis(chart, Qt::AlignBottom)->setTitleText(x_title);
  axis(chart, Qt::AlignLeft)->setTitleText(y_title);
}

}  // namespace

// The charts offer no other interaction (no zooming band): a press is a click.
void ClickableChart::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit clicked();
}

RegressCharts::RegressCharts(QWidget* parent) : QWidget(parent) {
  Chart1 = point_chart("Chart1", Series1, this);
  Chart2 = point_chart("Chart2", Series2, this);
  axis(Chart1->chart(), Qt::AlignBottom)->setTitleText("Estimates");
  axis(Chart1->chart(), Qt::AlignLeft)->setTitleText("Residuals");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Chart1);
  layout->addWidget(Chart2);
  connect(Chart1, &ClickableChart::clicked, this, &RegressCharts::chart1_clicked);
  connect(Chart2, &ClickableChart::clicked, this, &RegressCharts::chart2_clicked);
}

void RegressCharts::show_fit(regress::ObservedFit fit, const std::string& dependent,
                             std::vector<std::string> explanatory) {
  fit_ = std::move(fit);
  dependent_ = QString::fromStdString(dependent);
  explanatory_.clear();
  for (const std::string& name : explanatory) explanatory_ << QString::fromStdString(name);
  plot(Chart1, Series1, fit_.estimate, fit_.residual, "Estimates", "Residuals");
  plot(Chart2, Series2, fit_.dependent, fit_.explanatory[0], dependent_, explanatory_[0]);
  counter_ = 1;
}

bool RegressCharts::advance() {
  if (counter_ == 0) return false;  // no run yet
  counter_ = counter_ == explanatory_.size() ? 1 : counter_ + 1;
  return true;
}

void RegressCharts::chart1_clicked() {
  if (!advance()) return;
  plot(Chart1, Series1, fit_.explanatory[counter_ - 1], fit_.residual, explanatory_[counter_ - 1], "Residuals");
}

void RegressCharts::chart2_clicked() {
  if (!advance()) return;
  plot(Chart2, Series2, fit_.dependent, fit_.explanatory[counter_ - 1], dependent_, explanatory_[counter_ - 1]);
}

}  // namespace torvi::gui
