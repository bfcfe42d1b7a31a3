#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "bias_dispersal_window.h"
#include "main_window.h"
#include "progress_strip.h"
#include "qsettings_store.h"
#include "radio_group.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

using torvi::gui::BiasDispersalWindow;
using torvi::gui::testing::menu_enabled;
using torvi::gui::testing::read_all;
using torvi::gui::testing::ScriptedDialogs;
using torvi::gui::testing::write_all;

namespace {

// Two samples of both sexes.
constexpr const char* kSexes =
    "2 2 9\nl1, l2\nPop\nF1, 0101 0102\nM2, 0202 0101\nF3, 0102 0202\nM4, 0101 0303\n"
    "Pop\nF1, 0303 0101\nM2, 0102 0102\nM3, 0303 0202\nF4, 0101 0101\n";

}  // namespace

class BiasDispersalWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  torvi::Rng rng_{17, 23};
  std::unique_ptr<BiasDispersalWindow> window_;

  QString path(const QString& name) const { return dir_->filePath(name); }
  QString write(const QString& name, const QByteArray& text) const {
    write_all(path(name), text);
    return path(name);
  }
  QByteArray read(const QString& name) const { return read_all(path(name)); }
  // The controls that Open enables and a run disables.
  bool controls_enabled(bool on) const {
    for (QWidget* w : std::initializer_list<QWidget*>{window_->Ephil, window_->Edisp, window_->SpinEdit1,
                                                      window_->RadioGroup2, window_->CLB_tests, window_->Bt_Go})
      if (w->isEnabled() != on) return false;
    return true;
  }
  void open(const QString& file) {
    dialogs_->open_file_answers.push_back(file);
    window_->Open1->trigger();
  }
  void go_and_wait() {
    QSignalSpy finished(window_.get(), &BiasDispersalWindow::run_finished);
    window_->Bt_Go->click();
    QVERIFY(finished.count() == 1 || finished.wait(60000));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    dialogs_ = std::make_unique<ScriptedDialogs>();
    window_ = std::make_unique<BiasDispersalWindow>(*dialogs_, rng_, path("TORVI.INI").toStdString(), 2);
  }
  void cleanup() {
    window_.reset();
    dir_.reset();
  }

  void startsWithEveryControlDisabled() {
    QCOMPARE(window_->windowTitle(), QString("Bias dispersal tests"));
    QVERIFY(controls_enabled(false));
    QVERIFY(window_->Label4->isHidden());
    QCOMPARE(window_->Label4->text(), QString("Data file name is "));
    QCOMPARE(window_->Ephil->text(), QString("F"));
    QCOMPARE(window_->Edisp->text(), QString("M"));
    QCOMPARE(window_->Ephil->maxLength(), 1);
    QCOMPARE(window_->SpinEdit1->minimum(), 100);
    QCOMPARE(window_->SpinEdit1->maximum(), 10000);
    QCOMPARE(window_->SpinEdit1->singleStep(), 100);
    QCOMPARE(window_->SpinEdit1->value(), 100);
    QCOMPARE(window_->RadioGroup2->item_index(), 0);
    QCOMPARE(window_->CLB_tests->count(), 7);
    const char* items[] = {"Mean assignment (t-test)", "Variance of Assignment", "Fst ", "Fis ", "Relatedness", "Ho", "Hs"};
    for (int i = 0; i < 7; ++i) {
      QCOMPARE(window_->CLB_tests->item(i)->text(), QString(items[i]));
      QCOMPARE(window_->CLB_tests->item(i)->checkState(), Qt::Unchecked);
    }
    QCOMPARE(window_->Bt_Go->text(), QString("GO!"));
    QVERIFY(menu_enabled(window_->FileMenu));
    QCOMPARE(window_->Open1->text(), QString("&Open"));
    QCOMPARE(window_->Exit1->text(), QString("E&xit"));
    QVERIFY(!window_->UtilMenu->menuAction()->isVisible());
    QCOMPARE(window_->Resetrandom->text(), QString("Reset Random Number generator"));
    QCOMPARE(window_->HelpMenu->title(), QString("&Help"));
    window_->About1->trigger();
    QCOMPARE(dialogs_->about_boxes, 1);
  }

  void openEnablesTheControlsAndTicksFst() {
    window_->Ephil->setText("X");
    open(write("bats.gen", kSexes));
    QCOMPARE(dialogs_->open_file_requests.at(0).second, QString("genepop files (*.gen)"));
    QCOMPARE(window_->Ephil->text(), QString("F"));
    QCOMPARE(window_->Edisp->text(), QString("M"));
    QVERIFY(controls_enabled(true));
    QVERIFY(!window_->Label4->isHidden());
    QCOMPARE(window_->Label4->text(), QString("Data file being processed is : bats.gen"));
    QCOMPARE(window_->CLB_tests->item(2)->checkState(), Qt::Checked);
    QCOMPARE(window_->CLB_tests->item(0)->checkState(), Qt::Unchecked);
  }

  // File > Save run settings... writes the controls (and the seeds when
  // asked); Open run settings... on a fresh window puts them back, the file
  // chosen included, and refuses an unusable file naming the key.
  void settingsFileRoundTrips() {
    open(write("bats.gen", kSexes));
    window_->Ephil->setText("A");
    window_->SpinEdit1->setValue(700);
    window_->RadioGroup2->set_item_index(1);
    window_->CLB_tests->item(0)->setCheckState(Qt::Checked);
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("d.json"), true});
    window_->SaveSettings->trigger();
    QCOMPARE(window_->SaveSettings->text(), QString("Save run settings..."));
    window_ = std::make_unique<BiasDispersalWindow>(*dialogs_, rng_, path("TORVI.INI").toStdString(), 2);
    rng_ = torvi::Rng(1, 2);
    dialogs_->open_settings_answers.push_back(path("d.json"));
    window_->OpenSettings->trigger();
    QVERIFY(dialogs_->messages.empty());
    QVERIFY(controls_enabled(true));
    QCOMPARE(window_->Ephil->text(), QString("A"));
    QCOMPARE(window_->SpinEdit1->value(), 700);
    QCOMPARE(window_->RadioGroup2->item_index(), 1);
    QCOMPARE(window_->CLB_tests->item(0)->checkState(), Qt::Checked);
    QCOMPARE(window_->CLB_tests->item(2)->checkState(), Qt::Checked);
    QCOMPARE(window_->Label4->text(), QString("Data file being processed is : bats.gen"));
    QVERIFY(rng_ == torvi::Rng(17, 23));
    write("bad.json", R"({"format": "torvi-settings", "format_version": 1, "page": "dispersal", "phil": "P"})");
    dialogs_->open_settings_answers.push_back(path("bad.json"));
    window_->OpenSettings->trigger();
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY2(dialogs_->messages[0].text.contains("phil, disp:"), qPrintable(dialogs_->messages[0].text));
  }

  void aCancelledOpenStillEnablesGoButNothingRuns() {
    window_->Open1->trigger();  // no answer: cancelled
    QVERIFY(controls_enabled(true));
    QVERIFY(window_->Label4->isHidden());
    window_->Bt_Go->click();
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].error);
    QVERIFY(!window_->running());
    QVERIFY(controls_enabled(true));
  }

  void theLetterPIsRefused() {
    open(write("bats.gen", kSexes));
    window_->Edisp->setText("P");
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QCOMPARE(dialogs_->messages[0].text,
             QString("P is an invalid indicator,\nchoose another letter and modify the input file accordingly"));
    QCOMPARE(window_->Edisp->text(), QString("P"));  // left as typed
    window_->Bt_Go->click();  // and not run with it
    QCOMPARE(dialogs_->messages.size(), size_t{2});
    QVERIFY(!window_->running());
    QVERIFY(read("bats.res").isEmpty());
  }

  void goRunsTheTestsBesideTheInput() {
    open(write("bats.gen", kSexes));
    window_->CLB_tests->item(0)->setCheckState(Qt::Checked);
    window_->CB_json->setChecked(true);
    QSignalSpy finished(window_.get(), &BiasDispersalWindow::run_finished);
    window_->Bt_Go->click();
    QVERIFY(controls_enabled(false));
    QVERIFY(!menu_enabled(window_->FileMenu) || finished.count() == 1);
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    QVERIFY(controls_enabled(false));
    QVERIFY(menu_enabled(window_->FileMenu));
    QVERIFY(window_->Label4->isHidden());
    QCOMPARE(window_->outcome().status, torvi::DispersalOutcome::Status::done);
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(!dialogs_->messages[0].error);
    QVERIFY(dialogs_->messages[0].text.startsWith(
        "Results are stored in file : bats.res\none sided test\nP-value T ass test="));
    QVERIFY(dialogs_->messages[0].text.endsWith("\n\nThe result files are in the folder\n" +
                                                QFileInfo(path("bats.gen")).absolutePath()));
    // The main window's Results page lists what the run wrote.
    QStringList written;
    for (const auto& f : window_->files_written()) written << QFileInfo(f.path).fileName();
    QCOMPARE(written, (QStringList{"bats.res", "bats.per", "bats.res.torvi.json"}));
    QVERIFY(read("bats.res").startsWith("results are for data stored in filename: bats.gen\r\n"));
    QCOMPARE(read("bats.per").count('\n'), 100);
    QVERIFY(!read("batsF.dat").isEmpty());
    QVERIFY(!read("TORVI.INI").isEmpty());
    QVERIFY(!(rng_ == torvi::Rng(17, 23)));
    // A new Open makes the window ready again.
    open(path("bats.gen"));
    QVERIFY(controls_enabled(true));
  }

  void cancelStopsTheRunWithoutPValues() {
    QByteArray many = "1 3 20\nl\nPop\n";
    for (int i = 0; i < 300; ++i) many += (i % 2 ? "F, " : "M, ") + QByteArray("0102 0304 0506\n");
    open(write("many.gen", many));
    window_->SpinEdit1->setValue(10000);
    for (int i = 0; i < 7; ++i) window_->CLB_tests->item(i)->setCheckState(Qt::Checked);
    QSignalSpy finished(window_.get(), &BiasDispersalWindow::run_finished);
    window_->Bt_Go->click();
    window_->progress_strip()->BT_Cancel->click();
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    QCOMPARE(window_->outcome().status, torvi::DispersalOutcome::Status::cancelled);
    QVERIFY(!read("many.res").contains("p_value"));
    QVERIFY(dialogs_->messages.back().text.contains("cancelled"));
    QVERIFY(dialogs_->messages.back().text.endsWith("The observed values are in file : " + path("many.res")));
    QVERIFY(menu_enabled(window_->FileMenu));
  }

  // The command line notes records left out on standard error; the window
  // says so after the closing message.
  void recordsLeftOutAreSaid() {
    open(write("extra.gen", "2 1 9\nl\nPop\nF, 0101\nM, 0202\nPop\nF, 0101\nPop\nM, 0303\nF, 0101\n"));
    go_and_wait();
    QCOMPARE(window_->outcome().status, torvi::DispersalOutcome::Status::done);
    QVERIFY(!dialogs_->messages.back().error);
    QVERIFY2(dialogs_->messages.back().text.endsWith(
                 "was used:\n2 records of samples beyond the number declared on line 1 were not read"),
             qPrintable(dialogs_->messages.back().text));
  }

  void aBadFileIsReportedAndGoStaysDisabled() {
    open(write("bad.gen", "two 3 9\n"));
    go_and_wait();
    QCOMPARE(window_->outcome().status, torvi::DispersalOutcome::Status::refused);
    QCOMPARE(dialogs_->messages.back().text,
             QString("Invalid file format. check 'biased dispersal menu '\nin the help file for correct format. Exiting"));
    QVERIFY(dialogs_->messages.back().error);
    QVERIFY(!window_->Bt_Go->isEnabled());
    QVERIFY(menu_enabled(window_->FileMenu));
    QCOMPARE(read("bad.res").count('\n'), 2);
  }

  void theMainWindowOpensItModally() {
    torvi::gui::QSettingsStore store(std::make_unique<QSettings>(path("s.ini"), QSettings::IniFormat));
    torvi::gui::MainWindow main(store, dialogs_.get());
    QVERIFY(main.mBiaseddisp->isEnabled());
    QString seen;
    QTimer::singleShot(0, [&] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        seen = w->windowTitle();
        w->close();
      }
    });
    main.mBiaseddisp->trigger();
    QCOMPARE(seen, QString("Bias dispersal tests"));
  }
};

QTEST_MAIN(BiasDispersalWindowTest)
#include "bias_dispersal_window_test.moc"
