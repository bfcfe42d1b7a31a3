#include <fstream>
#include <memory>

#include <QAbstractAxis>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "progress_strip.h"
#include "regress_charts.h"
#include "regress_window.h"
#include "scripted_dialogs.h"
#include "test_files.h"
#include "support/scripted_host.h"
#include "torvi/regress.h"

using torvi::gui::RegressWindow;
using torvi::gui::testing::ScriptedDialogs;
using torvi::gui::testing::read_all;
using torvi::gui::testing::write_all;

namespace {

const QString kData = TORVI_TEST_DATA_DIR "/inputs/regress/";

QStringList entries(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Selects the entries of `list` whose variable numbers are given.
void select(QListWidget* list, std::initializer_list<int> numbers) {
  list->clearSelection();
  for (int i = 0; i < list->count(); ++i)
    for (int k : numbers)
      if (list->item(i)->text().startsWith(QString::number(k) + ".")) list->item(i)->setSelected(true);
}

QString axis_title(QChartView* view, Qt::Orientation o) { return view->chart()->axes(o).value(0)->titleText(); }

}  // namespace

class RegressWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  torvi::Rng rng_{12345, 67890};
  std::unique_ptr<RegressWindow> w_;

  QString path(const QString& name) const { return dir_->filePath(name); }

  void open(const QString& input, const QString& output = "out.txt") {
    dialogs_->file_answers = {input, output.isEmpty() ? std::optional<QString>() : path(output)};
    w_->open1->trigger();
  }

  // Dependent `dep`, explanatory `expl` in that order, then RUN until done.
  void run(int dep, std::initializer_list<int> expl, int randomisations = 200) {
    select(w_->ListBox1, {dep});
    w_->Button3->click();
    for (int k : expl) {
      select(w_->ListBox1, {k});
      w_->Button1->click();
    }
    w_->SpinEdit1->setValue(randomisations);
    QSignalSpy finished(w_.get(), &RegressWindow::run_finished);
    QVERIFY(w_->GO->isEnabled());
    w_->GO->click();
    QVERIFY(finished.wait(60000));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    dialogs_ = std::make_unique<ScriptedDialogs>();
    rng_ = torvi::Rng(12345, 67890);
    w_ = std::make_unique<RegressWindow>(*dialogs_, rng_, path("TORVI.INI").toStdString());
  }

  void cleanup() {
    w_.reset();
    dir_.reset();
  }

  void opensWithTheExplanatoryPartHiddenAndNothingToRun() {
    QCOMPARE(w_->windowTitle(), QString("Partial Mantel or Regression"));
    for (QWidget* hidden : std::initializer_list<QWidget*>{w_->CheckBox1, w_->ListBox2, w_->Button1, w_->Button2,
                                                          w_->Label5})
      QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QVERIFY(!w_->GO->isEnabled());
    QCOMPARE(w_->GO->text(), QString("RUN"));
    QCOMPARE(w_->SpinEdit1->minimum(), 200);
    QCOMPARE(w_->SpinEdit1->maximum(), 20000);
    QCOMPARE(w_->SpinEdit1->singleStep(), 500);
    QCOMPARE(w_->SpinEdit1->value(), 2000);
    QCOMPARE(w_->CheckBox1->text(), QString("Data from distance matrices"));
    QCOMPARE(w_->CheckBox2->text(), QString("Save residuals"));
    QCOMPARE(w_->Label5->text(), QString("Explanatory variables"));
    QCOMPARE(w_->FileMenu->title(), QString("&File"));
    QCOMPARE(w_->open1->text(), QString("&Open"));
    QCOMPARE(w_->Exit1->text(), QString("E&xit"));
    QCOMPARE(axis_title(w_->charts->Chart1, Qt::Horizontal), QString("Estimates"));
    QCOMPARE(axis_title(w_->charts->Chart1, Qt::Vertical), QString("Residuals"));
    for (QChartView* c : {static_cast<QChartView*>(w_->charts->Chart1), static_cast<QChartView*>(w_->charts->Chart2)})
      QVERIFY(!c->chart()->legend()->isVisible());
    QCOMPARE(w_->charts->Series1->markerSize(), 2.0);
    // The window fits the screen (offscreen: 800 x 600, less than the 900 x 760 it asks for).
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QVERIFY2(w_->width() <= screen.width() && w_->height() <= screen.height(),
             qPrintable(QString("%1x%2").arg(w_->width()).arg(w_->height())));
    QCOMPARE(w_->charts->Series2->markerShape(), QScatterSeries::MarkerShapeCircle);
    // Clicks before any run do nothing.
    QTest::mouseClick(w_->charts->Chart1->viewport(), Qt::LeftButton);
    QCOMPARE(w_->charts->counter(), 0);
  }

  void openFillsTheListAndWritesTheTitleLines() {
    open(kData + "rows.txt");
    QCOMPARE(dialogs_->file_requests.size(), size_t{2});
    QCOMPARE(dialogs_->file_requests[0].title, QString("Data (in columnar mode only) are in : "));
    QCOMPARE(dialogs_->file_requests[0].filters, QString("all (*.*)|*.*"));
    QCOMPARE(dialogs_->file_requests[1].title, QString("save output of Multreg/Mantel in :"));
    QCOMPARE(dialogs_->file_requests[1].filters,
             QString("all files (*.*)|*.*|estimates and residuals (*.res)|*.res"));
    QCOMPARE(dialogs_->file_requests[1].index, 1);
    QCOMPARE(entries(w_->ListBox1),
             (QStringList{"1.      area", "2. elevation", "3. isolation", "4.body_size_mm"}));
    QVERIFY(w_->CheckBox1->isHidden());  // 35 rows
    QCOMPARE(read_all(path("out.txt")),
             "Body size of lizards on 35 islands\r\ndata from the file : " + (kData + "rows.txt").toUtf8() + "\r\n");
    for (QPushButton* b : {w_->Button1, w_->Button2, w_->Button3, w_->Button4}) QVERIFY(b->isEnabled());
    QVERIFY(!w_->GO->isEnabled());
  }

  void triangularRowCountsShowTheDistanceBox() {
    write_all(path("six.txt"), "t\n6 1\nDist\n1\n2\n3\n4\n5\n6\n");
    write_all(path("seven.txt"), "t\n7 1\nDist\n1\n2\n3\n4\n5\n6\n7\n");
    open(path("six.txt"));
    QVERIFY(!w_->CheckBox1->isHidden());
    QCOMPARE(entries(w_->ListBox1), QStringList{"1.      Dist"});
    w_->CheckBox1->setChecked(true);
    open(path("seven.txt"));
    QVERIFY(w_->CheckBox1->isHidden());
    QVERIFY(!w_->CheckBox1->isChecked());
  }

  void arrowsMoveVariablesAndEnableRun() {
    open(kData + "rows.txt");
    w_->ListBox1->clearSelection();
    w_->Button3->click();  // nothing selected: nothing happens
    QVERIFY(w_->ListBox2->isHidden());
    QCOMPARE(w_->ListBox3->count(), 0);

    select(w_->ListBox1, {4, 2});
    w_->Button3->click();  // the first selected entry
    QCOMPARE(entries(w_->ListBox3), QStringList{"2. elevation"});
    QVERIFY(!w_->Button3->isEnabled() && w_->Button4->isEnabled());
    QVERIFY(!w_->ListBox2->isHidden() && !w_->Label5->isHidden());
    QVERIFY(!w_->GO->isEnabled());

    select(w_->ListBox1, {4, 1});
    w_->Button1->click();  // every selected entry, in list order
    QCOMPARE(entries(w_->ListBox2), (QStringList{"1.      area", "4.body_size_mm"}));
    QVERIFY(w_->GO->isEnabled());
    select(w_->ListBox1, {3});
    w_->Button1->click();
    QVERIFY(!w_->Button1->isEnabled());  // nothing left to move
    select(w_->ListBox2, {1, 4, 3});
    w_->Button2->click();
    QCOMPARE(entries(w_->ListBox1), (QStringList{"1.      area", "4.body_size_mm", "3. isolation"}));
    QVERIFY(!w_->GO->isEnabled() && !w_->Button2->isEnabled() && w_->Button1->isEnabled());

    select(w_->ListBox1, {3});
    w_->Button1->click();
    w_->ListBox3->item(0)->setSelected(true);
    w_->Button4->click();  // the dependent goes back to the end
    QCOMPARE(entries(w_->ListBox1).last(), QString("2. elevation"));
    QVERIFY(w_->ListBox2->isHidden());
    QVERIFY(w_->Button3->isEnabled() && !w_->Button4->isEnabled());
    QVERIFY(!w_->GO->isEnabled());  // no dependent, no run
  }

  // The window writes what the engine writes for the same request and seeds.
  void runAppendsTheReportShowsItAndDrawsTheCharts() {
    open(kData + "distances.txt");
    w_->CheckBox1->setChecked(true);
    run(3, {1, 2}, 300);
    QVERIFY(dialogs_->messages.empty());

    torvi::testing::ScriptedHost host;
    torvi::Rng rng(12345, 67890);
    torvi::regress::MantelRequest q;
    const std::string direct = path("direct.txt").toStdString(), input = (kData + "distances.txt").toStdString();
    q.header = torvi::regress::read_column_header(input, [&](const std::string& title) {
      std::ofstream(direct, std::ios::binary) << torvi::regress::opening_lines(title, input);
    });
    q.dependent = 3;
    q.explanatory = {1, 2};
    q.randomisations = 300;
    q.distance = true;
    q.output_path = direct;
    torvi::regress::run_mantel(q, torvi::regress::read_column_rows(input, q.header), rng, host);
    QCOMPARE(read_all(path("out.txt")), read_all(path("direct.txt")));
    QVERIFY(rng_ == rng);
    QCOMPARE(read_all(path("TORVI.INI")), QString("%1   %2\r\n").arg(rng.seed1).arg(rng.seed2).toLatin1());

    QCOMPARE(w_->Memo1->toPlainText().toUtf8(), read_all(path("out.txt")).replace("\r\n", "\n"));
    QCOMPARE(w_->charts->Series1->count(), 66);
    QCOMPARE(w_->charts->Series2->count(), 66);
    QCOMPARE(axis_title(w_->charts->Chart2, Qt::Horizontal), QString("var2 (fst.txt)"));
    QCOMPARE(axis_title(w_->charts->Chart2, Qt::Vertical), QString("var0 (geo.txt)"));
    for (QPushButton* b : {w_->Button1, w_->Button2, w_->Button3, w_->Button4}) QVERIFY(b->isEnabled());
    QVERIFY(!w_->GO->isEnabled());
    QVERIFY(w_->open1->isEnabled());

    // A change of the explanatory list enables RUN again; a second report follows the first.
    select(w_->ListBox2, {2});
    w_->Button2->click();
    QVERIFY(w_->GO->isEnabled());
    QSignalSpy finished(w_.get(), &RegressWindow::run_finished);
    w_->GO->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(read_all(path("out.txt")).count("P-values are given after"), 2);
    QCOMPARE(w_->Memo1->toPlainText().count("P-values are given after"), 2);
  }

  void chartClicksCycleOverTheExplanatoryVariables() {
    open(kData + "rows.txt");
    run(4, {1, 3});
    auto* charts = w_->charts;
    QCOMPARE(charts->counter(), 1);
    QTest::mouseClick(charts->Chart1->viewport(), Qt::LeftButton);
    QCOMPARE(charts->counter(), 2);
    QCOMPARE(axis_title(charts->Chart1, Qt::Horizontal), QString(" isolation"));
    QCOMPARE(axis_title(charts->Chart1, Qt::Vertical), QString("Residuals"));
    // x of each point: the raw isolation of its row (third column of the file).
    const std::vector<float> rows = torvi::regress::read_column_rows(
        (kData + "rows.txt").toStdString(), torvi::regress::read_column_header((kData + "rows.txt").toStdString(),
                                                                              [](const std::string&) {}));
    QVERIFY(qAbs(charts->Series1->at(5).x() - rows[5 * 4 + 2]) < 1e-3);
    QTest::mouseClick(charts->Chart2->viewport(), Qt::LeftButton);  // shared counter: back to 1
    QCOMPARE(charts->counter(), 1);
    QCOMPARE(axis_title(charts->Chart2, Qt::Vertical), QString("      area"));
    QCOMPARE(axis_title(charts->Chart2, Qt::Horizontal), QString("body_size_mm"));
    QVERIFY(qAbs(charts->Series2->at(7).y() - rows[7 * 4]) < 1e-3);
    QVERIFY(qAbs(charts->Series2->at(7).x() - rows[7 * 4 + 3]) < 1e-3);
  }

  void oneExplanatoryVariableKeepsTheCounterAtOne() {
    open(kData + "rows.txt");
    run(4, {2});
    QTest::mouseClick(w_->charts->Chart2->viewport(), Qt::LeftButton);
    QTest::mouseClick(w_->charts->Chart1->viewport(), Qt::LeftButton);
    QCOMPARE(w_->charts->counter(), 1);
    QCOMPARE(axis_title(w_->charts->Chart2, Qt::Vertical), QString(" elevation"));
  }

  void residualsAreSavedWhereTheDialogSays() {
    open(kData + "rows.txt");
    w_->CheckBox2->setChecked(true);
    select(w_->ListBox1, {4});
    w_->Button3->click();
    select(w_->ListBox1, {1});
    w_->Button1->click();
    dialogs_->file_answers = {path("fit.res")};
    QSignalSpy finished(w_.get(), &RegressWindow::run_finished);
    w_->GO->click();
    QVERIFY(finished.wait(60000));
    const auto& request = dialogs_->file_requests.back();
    QCOMPARE(request.title, QString("save estimates and residuals in : "));
    QCOMPARE(request.index, 2);
    QVERIFY(read_all(path("fit.res")).startsWith("            estimates          residuals\r\n"));
    QCOMPARE(read_all(path("fit.res")).count("\r\n"), 36);
  }

  void aSingularModelShowsAnErrorAndTheWindowGoesOn() {
    write_all(path("s.txt"), "sing\n4 2\nc\ny\n2 1\n2 5\n2 3\n2 4\n");
    open(path("s.txt"));
    run(2, {1});
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].error);
    QCOMPARE(dialogs_->messages[0].text, QString("  0.000000Singular matrix!. Exiting."));
    QVERIFY(w_->open1->isEnabled());
    QVERIFY(w_->Memo1->toPlainText().endsWith("P-values are given after    200 randomizations.\n\n"));
  }

  void aBadRowIsReportedWithItsLine() {
    write_all(path("bad.txt"), "bad\n3 2\nx\ny\n1 2\n3 oops\n5 6\n");
    open(path("bad.txt"));
    run(2, {1});
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QCOMPARE(dialogs_->messages[0].text, "Line 6 of " + path("bad.txt") + ": \"oops\" is not a number");
    QCOMPARE(read_all(path("out.txt")), "bad\r\ndata from the file : " + path("bad.txt").toUtf8() + "\r\n");
  }

  void cancelStopsTheRandomisationsWithoutATail() {
    open(kData + "distances.txt");
    select(w_->ListBox1, {3});
    w_->Button3->click();
    select(w_->ListBox1, {1, 2});
    w_->Button1->click();
    w_->SpinEdit1->setValue(20000);
    QSignalSpy finished(w_.get(), &RegressWindow::run_finished);
    w_->GO->click();
    QTRY_VERIFY_WITH_TIMEOUT(w_->progress_strip->isVisibleTo(w_.get()) || !finished.isEmpty(), 20000);
    w_->progress_strip->BT_Cancel->click();
    QVERIFY(!finished.isEmpty() || finished.wait(60000));
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(!dialogs_->messages[0].error);
    QCOMPARE(dialogs_->messages[0].text, QString("Run cancelled: the report has no P-values."));
    QVERIFY(!read_all(path("out.txt")).contains("P(Beta)"));
    QVERIFY(read_all(path("out.txt")).contains("R_squared"));
  }

  // File > Save run settings... keeps the whole window, the model's order
  // included; Open run settings... on a fresh window opens the table as
  // File > Open would and puts everything back, so RUN does what the first
  // window's RUN would. The JSON box writes the results document.
  void settingsFileRoundTripsAndTheJsonBoxWritesTheDocument() {
    open(kData + "distances.txt");
    w_->CheckBox1->setChecked(true);
    select(w_->ListBox1, {3});
    w_->Button3->click();
    for (int k : {2, 1}) {
      select(w_->ListBox1, {k});
      w_->Button1->click();
    }
    w_->SpinEdit1->setValue(700);
    w_->CB_json->setChecked(true);
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("m.json"), true});
    w_->SaveSettings->trigger();
    QCOMPARE(w_->OpenSettings->text(), QString("Open run settings..."));

    w_ = std::make_unique<RegressWindow>(*dialogs_, rng_, path("TORVI.INI").toStdString());
    rng_ = torvi::Rng(1, 2);
    dialogs_->open_settings_answers.push_back(path("m.json"));
    w_->OpenSettings->trigger();
    QVERIFY(dialogs_->messages.empty());
    QVERIFY(rng_ == torvi::Rng(12345, 67890));
    QCOMPARE(entries(w_->ListBox3), QStringList{"3.var2 (fst.txt)"});
    QCOMPARE(entries(w_->ListBox2), (QStringList{"2.var1 (env.txt)", "1.var0 (geo.txt)"}));
    QVERIFY(!w_->ListBox2->isHidden() && !w_->CheckBox1->isHidden() && w_->CheckBox1->isChecked());
    QCOMPARE(w_->SpinEdit1->value(), 700);
    QVERIFY(w_->CB_json->isChecked() && !w_->CheckBox2->isChecked());
    QVERIFY(w_->GO->isEnabled());
    QSignalSpy finished(w_.get(), &RegressWindow::run_finished);
    w_->GO->click();
    QVERIFY(finished.wait(60000));
    QVERIFY(dialogs_->messages.empty());
    const QByteArray out = read_all(path("out.txt"));
    QCOMPARE(out.count("data from the file : "), 2);  // each opening of the table
    QVERIFY(out.contains("P-values are given after    700 randomizations."));
    const auto doc = torvi::Json::parse(read_all(path("out.txt.torvi.json")).toStdString());
    QCOMPARE(doc["status"], torvi::Json("complete"));
    QCOMPARE(doc["command"]["settings"]["explanatory"], torvi::Json({2, 1}));
    QCOMPARE(doc["data"]["input"], torvi::Json((kData + "distances.txt").toStdString()));
    QCOMPARE(w_->files_written().size(), size_t{2});  // the output from this run's report on, the document
    QCOMPARE(w_->files_written()[0].path, path("out.txt"));
    QVERIFY(out.mid(w_->files_written()[0].start).startsWith("\r\n"));
    QVERIFY(out.left(w_->files_written()[0].start).endsWith("data from the file : " + (kData + "distances.txt").toUtf8() + "\r\n"));

    // A file that does not fit its table changes nothing and names the key.
    write_all(path("far.json"), R"({"format": "torvi-settings", "format_version": 1, "page": "mantel", "input": ")" +
                                    (kData + "distances.txt").toUtf8() + R"(", "dependent": 9})");
    dialogs_->open_settings_answers.push_back(path("far.json"));
    w_->OpenSettings->trigger();
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY2(dialogs_->messages[0].text.contains("dependent: variable 9"), qPrintable(dialogs_->messages[0].text));
    QCOMPARE(entries(w_->ListBox3), QStringList{"3.var2 (fst.txt)"});
    // So does one whose output file cannot be written.
    write_all(path("nowhere.json"), R"({"format": "torvi-settings", "format_version": 1, "page": "mantel", "input": ")" +
                                        (kData + "distances.txt").toUtf8() + R"(", "output": ")" +
                                        path("no/such/folder/out.txt").toUtf8() + R"("})");
    dialogs_->open_settings_answers.push_back(path("nowhere.json"));
    w_->OpenSettings->trigger();
    QCOMPARE(dialogs_->messages.size(), size_t{2});
    QVERIFY2(dialogs_->messages[1].text.contains("no/such/folder"), qPrintable(dialogs_->messages[1].text));
    QCOMPARE(entries(w_->ListBox3), QStringList{"3.var2 (fst.txt)"});
    QCOMPARE(entries(w_->ListBox2), (QStringList{"2.var1 (env.txt)", "1.var0 (geo.txt)"}));
  }

  // A run without an output file says that its report went nowhere.
  void aRunWithoutOutputFileSaysSo() {
    open(kData + "rows.txt", "");
    run(4, {1});
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(!dialogs_->messages[0].error);
    QVERIFY(dialogs_->messages[0].text.startsWith("The report was not written: no output file was chosen"));
    QVERIFY(w_->Memo1->toPlainText().isEmpty());
    QCOMPARE(w_->charts->Series1->count(), 35);
  }

  void cancelledOpenChangesNothing() {
    open(kData + "rows.txt");
    dialogs_->file_answers.clear();
    w_->open1->trigger();
    QCOMPARE(w_->ListBox1->count(), 4);
    QCOMPARE(dialogs_->file_requests.size(), size_t{3});
  }

  // Not a check: with TORVI_SCREENSHOT set, saves a picture of the window
  // after a run.
  void screenshot() {
    const QByteArray target = qgetenv("TORVI_SCREENSHOT");
    if (target.isEmpty()) QSKIP("TORVI_SCREENSHOT not set");
    open(kData + "distances.txt");
    w_->CheckBox1->setChecked(true);
    run(3, {1, 2}, 5000);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    QTest::qWait(300);
    QVERIFY(w_->grab().save(QString::fromLocal8Bit(target)));
  }
};

QTEST_MAIN(RegressWindowTest)
#include "regress_window_test.moc"
