#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "torvi/data_files.h"
#include "torvi/options.h"

class QSpinBox;
class QWidget;

namespace torvi::gui {

class RunPage;

// A test left out, in the words of the first page: "Hardy Weinberg within
// samples: 100 permutations asked, at least 200 needed". `file` names the
// data file for the reasons that come from it.
QString skipped_test_line(const SkippedTest& skipped, const QString& file = {});

// Every test these options ask for that a Run of `files` will leave out, the
// ones left out whatever the data first. Files whose header cannot be read
// add nothing (the Run says what is wrong with them).
QStringList skipped_test_lines(const RunOptions& o, const Selection& selection, const std::vector<std::string>& files);

// The question before a Run that will leave tests out, listing them: true
// for "Run anyway", false for "Cancel".
bool ask_run_anyway(QWidget* parent, const QStringList& lines);

// Marks the page's permutation counts that a Run would ignore (a warning
// icon inside the spin box, the reason as its tooltip), and keeps the marks
// up to date as the page changes.
class CountWarnings {
 public:
  explicit CountWarnings(RunPage& page);
  void update();
  // The reason shown on `spin`, empty when its count is used.
  static QString warning(const QSpinBox* spin);

 private:
  RunPage& page_;
};

}  // namespace torvi::gui
