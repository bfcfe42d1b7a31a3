#include "skipped_tests_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

#include "radio_group.h"
#include "run_page.h"
#include "torvi/data_files.h"
#include "torvi/host.h"
#include "widget_dialogs.h"

namespace torvi::gui {

namespace {

using Test = SkippedTest::Test;
using Reason = SkippedTest::Reason;

constexpr const char* kWarningProperty = "countWarning";
constexpr const char* kDialogTitle = "Tests that will be skipped";

QString test_caption(Test test) {
  switch (test) {
    case Test::hw_per_sample: return "HW tests per locus and sample";
    case Test::hw_within: return "Hardy Weinberg within samples";
    case Test::hw_overall: return "Hardy Weinberg overall samples";
    case Test::popdiff_assuming_hw: return "Population differentiation, Test assuming HW within samples";
    case Test::popdiff_not_assuming_hw: return "Population differentiation, Test NOT assuming HW within samples";
    case Test::pairwise: return "Pairwise tests of differentiation";
    case Test::ld_tests: return "Tests of Genotypic Disequilibrium";
  }
  return {};
}

QString reason_text(const SkippedTest& s, const QString& file) {
  switch (s.reason) {
    case Reason::no_level: return "no \"Nominal level for multiple tests\" is chosen";
    case Reason::no_fixed_count: return "\"fixed #\" is chosen with 0 as \"# of permutations\"";
    case Reason::too_few: return QString("%1 permutations asked, at least %2 needed").arg(s.asked).arg(s.needed);
    case Reason::one_sample: return file + " holds one sample (after the samples chosen); the test needs two";
    case Reason::one_locus: return file + " holds one locus (after the loci chosen); the tests need two";
  }
  return {};
}

// The spin box whose count a skip ignores, if any.
QSpinBox* spin_of(const RunPage& page, const SkippedTest& s) {
  if (s.reason == Reason::no_fixed_count) return s.test == Test::ld_tests ? page.SpinEdit8 : page.SpinEdit5;
  if (s.reason != Reason::too_few) return nullptr;
  switch (s.test) {
    case Test::hw_within: return page.SpinEdit1;
    case Test::hw_overall: return page.SpinEdit2;
    case Test::popdiff_not_assuming_hw: return page.SpinEdit3;
    case Test::popdiff_assuming_hw: return page.SpinEdit4;
    default: return nullptr;
  }
}

// The warning icon inside a spin box's text field, made on first use.
QAction* warning_action(QSpinBox* spin) {
  auto* action = spin->findChild<QAction*>(kWarningProperty);
  if (action) return action;
  action = new QAction(spin->style()->standardIcon(QStyle::SP_MessageBoxWarning), {}, spin);
  action->setObjectName(kWarningProperty);
  spin->findChild<QLineEdit*>()->addAction(action, QLineEdit::TrailingPosition);
  return action;
}

}  // namespace

QString skipped_test_line(const SkippedTest& skipped, const QString& file) {
  return test_caption(skipped.test) + ": " + reason_text(skipped, file);
}

QStringList skipped_test_lines(const RunOptions& o, const Selection& selection, const std::vector<std::string>& files) {
  QStringList lines;
  for (const SkippedTest& s : skipped_tests(o)) lines << skipped_test_line(s);
  for (const std::string& path : files) {
    MessageLogHost silent;  // the Run itself says what is wrong with a file
    DataSet header;
    if (!check_header(silent, path, header)) continue;
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    for (const SkippedTest& s : skipped_tests(o, selection, header.np, header.nl)) lines << skipped_test_line(s, name);
  }
  return lines;
}

bool ask_run_anyway(QWidget* parent, const QStringList& lines) {
  QMessageBox box(QMessageBox::Warning, kDialogTitle,
                  "These ticked tests will be skipped, and nothing will be written for them:", QMessageBox::NoButton,
                  parent);
  box.setObjectName("SkippedTestsDialog");
  box.setInformativeText("• " + lines.join("\n• "));
  QPushButton* run = box.addButton("Run anyway", QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == run;
}

bool WidgetDialogs::run_anyway(const QStringList& skipped) { return ask_run_anyway(parent_, skipped); }

CountWarnings::CountWarnings(RunPage& page) : page_(page) {
  for (QCheckBox* box : {page.CB_HWW, page.CB_HWO, page.CB_IFis})
    QObject::connect(box, &QCheckBox::toggled, &page, [this] { update(); });
  for (RadioGroup* group : {page.RG_popdif, page.RG_MT, page.RG_GDT, page.RG_MTG})
    QObject::connect(group, &RadioGroup::item_chosen, &page, [this] { update(); });
  for (QSpinBox* spin : {page.SpinEdit1, page.SpinEdit2, page.SpinEdit3, page.SpinEdit4, page.SpinEdit5, page.SpinEdit8})
    QObject::connect(spin, &QSpinBox::valueChanged, &page, [this] { update(); });
  update();
}

void CountWarnings::update() {
  std::vector<std::pair<QSpinBox*, QString>> marks;
  for (const SkippedTest& s : skipped_tests(page_.options()))
    if (QSpinBox* spin = spin_of(page_, s)) marks.emplace_back(spin, skipped_test_line(s) + ". The test will be skipped.");
  for (QSpinBox* spin : {page_.SpinEdit1, page_.SpinEdit2, page_.SpinEdit3, page_.SpinEdit4, page_.SpinEdit5,
                         page_.SpinEdit8}) {
    QString reason;
    for (const auto& [marked, text] : marks)
      if (marked == spin) reason = text;
    QAction* action = warning_action(spin);
    action->setToolTip(reason);
    action->setVisible(!reason.isEmpty());
    spin->setProperty(kWarningProperty, reason);
  }
}

QString CountWarnings::warning(const QSpinBox* spin) { return spin->property(kWarningProperty).toString(); }

}  // namespace torvi::gui
