#pragma once

#include <string>
#include <vector>

#include <QChartView>
#include <QWidget>

#include "torvi/regress.h"

class QScatterSeries;
class QValueAxis;

namespace torvi::gui {

// A chart that reports clicks on it.
class ClickableChart : public QChartView {
  Q_OBJECT

 public:
  using QChartView::QChartView;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// The two scatter charts of the regression window: residuals against
// estimates (Chart1) and the raw data (Chart2). After a run, each click on
// either chart moves on to the next explanatory variable (one counter for
// both) and shows it on the clicked chart.
class RegressCharts : public QWidget {
  Q_OBJECT

 public:
  explicit RegressCharts(QWidget* parent = nullptr);

  // Shows a run's fit: residuals against estimates, the first explanatory
  // variable against the dependent one; the counter starts at 1.
  void show_fit(regress::ObservedFit fit, const std::string& dependent, std::vector<std::string> explanatory);

  ClickableChart *Chart1, *Chart2;
  QScatterSeries *Series1, *Series2;
  // The explanatory variable shown last (1..m); 0 before any run.
  int counter() const { return counter_; }

 private:
  void chart1_clicked();
  void chart2_clicked();
  bool advance();

  regress::ObservedFit fit_;
  QString dependent_;
  QStringList explanatory_;
  int counter_ = 0;
};

}  // namespace torvi::gui
