// What the window tells about a Run: the tests it will skip, its progress in
// the status bar, the mark a Cancel leaves, and the files it wrote.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

#include "progress_strip.h"
#include "radio_group.h"
#include "results_view.h"
#include "run_page.h"
#include "skipped_tests_dialog.h"
#include "status_progress.h"
#include "window_fixture.h"

using torvi::LdTests;
using torvi::NominalLevel;
using torvi::PopDiff;
using torvi::gui::CountWarnings;
using torvi::gui::MainWindow;
using torvi::gui::RunFile;
using torvi::gui::RunStage;
using torvi::gui::testing::read_all;
using torvi::gui::testing::write_all;

class RunFeedbackTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  torvi::gui::RunPage* page() const { return window_->run_page(); }

  QString data_file(const QString& name) {
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path(name));
    return path(name);
  }

  void open(const QStringList& files) {
    dialogs_->open_answers.push_back(files);
    window_->mOpen->trigger();
  }

  void run_and_wait() {
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    page()->BT_Run->click();
    QVERIFY(finished.wait(120000));
  }

 private slots:
  void initTestCase() { qputenv("SOURCE_DATE_EPOCH", "1700000000"); }
  void init() { set_up(); }
  void cleanup() { tear_down(); }

  void skippedTestsAreListedAndCancelRunsNothing() {
    start();
    write_all(path("one.dat"), "1 2 12 2\nloc1\nloc2\n1 0101 0312\n1 0102 0303\n");
    open({path("one.dat")});
    page()->CB_HWW->setChecked(true);
    page()->SpinEdit1->setValue(100);
    page()->CB_IFis->setChecked(true);  // no nominal level chosen
    page()->CB_PPFst->setChecked(true);  // one sample only
    page()->RG_GDT->set_item_index(static_cast<int>(LdTests::all_pairs));
    page()->RG_MTG->set_item_index(static_cast<int>(NominalLevel::fixed));
    page()->SpinEdit8->setValue(0);
    dialogs_->run_anyway_answers = {false};
    page()->BT_Run->click();

    QCOMPARE(dialogs_->skipped_lists.size(), size_t{1});
    const QStringList expected = {
        "HW tests per locus and sample: no \"Nominal level for multiple tests\" is chosen",
        "Tests of Genotypic Disequilibrium: \"fixed #\" is chosen with 0 as \"# of permutations\"",
        "Hardy Weinberg within samples: 100 permutations asked, at least 200 needed",
        "Hardy Weinberg within samples: one.dat holds one sample (after the samples chosen); the test needs two",
        "Pairwise tests of differentiation: one.dat holds one sample (after the samples chosen); the test needs two",
    };
    QCOMPARE(dialogs_->skipped_lists[0], expected);
    // Cancel: nothing ran, the window is as before.
    QVERIFY(!QFileInfo::exists(path("one.out")));
    QVERIFY(page()->BT_Run->isEnabled());
    QVERIFY(!window_->running());

    // Nothing to skip: no question.
    page()->CB_HWW->setChecked(false);
    page()->CB_IFis->setChecked(false);
    page()->CB_PPFst->setChecked(false);
    page()->RG_GDT->set_item_index(static_cast<int>(LdTests::no_tests));
    run_and_wait();
    QCOMPARE(dialogs_->skipped_lists.size(), size_t{1});
    QVERIFY(QFileInfo::exists(path("one.out")));
  }

  void countsARunWouldIgnoreAreMarked() {
    start();
    auto warning = [](QSpinBox* spin) { return CountWarnings::warning(spin); };
    QVERIFY(warning(page()->SpinEdit1).isEmpty());  // not ticked: nothing to say
    page()->CB_HWW->setChecked(true);
    QCOMPARE(warning(page()->SpinEdit1),
             QString("Hardy Weinberg within samples: 0 permutations asked, at least 200 needed. The test will be skipped."));
    page()->SpinEdit1->setValue(200);
    QVERIFY(warning(page()->SpinEdit1).isEmpty());

    // The differentiation test assuming HW runs with its own count, for both tests.
    page()->CB_HWO->setChecked(true);
    page()->SpinEdit2->setValue(1000);
    page()->RG_popdif->set_item_index(static_cast<int>(PopDiff::assuming_hw));
    QVERIFY(warning(page()->SpinEdit2).isEmpty());
    QVERIFY(warning(page()->SpinEdit4).contains("Test assuming HW within samples"));
    page()->RG_popdif->set_item_index(static_cast<int>(PopDiff::not_assuming_hw));
    QVERIFY(warning(page()->SpinEdit4).isEmpty());
    QVERIFY(warning(page()->SpinEdit3).contains("at least 2 needed"));

    page()->RG_GDT->set_item_index(static_cast<int>(LdTests::pairs_in_each_sample));
    page()->RG_MTG->set_item_index(static_cast<int>(NominalLevel::fixed));
    page()->SpinEdit8->setValue(0);
    QVERIFY(!warning(page()->SpinEdit8).isEmpty());
    auto* icon = page()->SpinEdit8->findChild<QAction*>("countWarning");
    QVERIFY(icon && icon->isVisible() && icon->toolTip() == warning(page()->SpinEdit8));
    page()->SpinEdit8->setValue(100);
    QVERIFY(!icon->isVisible());
  }

  void statusTextAndOverallShare() {
    const RunStage stage{"/data/cats.dat", 1, 2, "Rho_st", 3, 7};
    QCOMPARE(torvi::gui::status_text(stage, 120, 500, 10.5, 30),
             QString("cats.dat (file 1/2) | Rho_st (section 3/7) | 120 of 500 randomisations | "
                     "elapsed 0:10, about 0:33 left"));
    // Between tests the run's own time; one file is not numbered.
    QCOMPARE(torvi::gui::status_text({"cats.dat", 1, 1, "Genotypic frequencies", 1, 4}, 0, 0, 0, 75),
             QString("cats.dat | Genotypic frequencies (section 1/4) | elapsed 1:15"));

    // File 2 of 2, section 2 of 4 half done: (1 + 1.5 / 4) / 2.
    QCOMPARE(torvi::gui::overall_done({"b.dat", 2, 2, "x", 2, 4}, 50, 100), 0.6875);
    QCOMPARE(torvi::gui::overall_done({"b.dat", 2, 2, {}, 0, 0}, 0, 0), 0.5);  // sections not yet known
    QCOMPARE(torvi::gui::overall_done({"b.dat", 1, 1, "x", 1, 1}, 900, 100), 1.0);
    QCOMPARE(torvi::gui::overall_done(RunStage{}, 5, 10), 0.0);
  }

  void progressInTheStatusBarAndTheMarkOfACancel() {
    start();
    open({data_file("cats.dat")});
    const int page_height = window_->pages()->height();
    page()->CB_IFis->setChecked(true);
    page()->RG_MT->set_item_index(static_cast<int>(NominalLevel::fixed));
    page()->SpinEdit5->setValue(10000000);
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    page()->BT_Run->click();
    auto* status = window_->status_progress();
    QTRY_VERIFY_WITH_TIMEOUT(status->text->toolTip().contains("randomisations"), 30000);
    const QString shown = status->text->toolTip();  // the whole line; the label may elide its middle
    QVERIFY(status->text->text().endsWith(shown.right(4)));
    QVERIFY2(shown.startsWith("cats.dat | HW tests per locus and sample (section 2/5) | "), qPrintable(shown));
    QVERIFY2(shown.contains(" of 10000000 randomisations | elapsed "), qPrintable(shown));
    QVERIFY(status->overall->isVisibleTo(window_.get()));
    QCOMPARE(window_->pages()->height(), page_height);  // the status bar holds the progress
    window_->progress_strip()->BT_Cancel->click();
    QVERIFY(finished.wait(60000));

    QCOMPARE(window_->windowTitle(), QString("Torvi for Windows"));
    QVERIFY(status->text->text().isEmpty());
    const QByteArray out = read_all(path("cats.out"));
    QVERIFY(out.endsWith("\r\nRun cancelled by the user during HW tests per locus and sample\r\n"));
    QCOMPARE(out.count("Run cancelled"), 1);
  }

  void resultsShowThisRunsFilesFromThisRunsStart() {
    start();
    open({data_file("cats.dat")});
    write_all(path("cats.out"), "old\r\nresults\r\n");
    write_all(path("cats.mat"), "a matrix of an earlier run\r\n");
    QFile stale(path("cats.mat"));
    QVERIFY(stale.open(QIODevice::ReadWrite));
    QVERIFY(stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    stale.close();
    page()->CB_genotfreq->setChecked(true);  // writes cats.x2
    page()->CB_json->setChecked(true);        // and cats.torvi.json
    run_and_wait();

    auto* view = window_->results_view();
    QVERIFY(view);
    QCOMPARE(window_->pages()->currentWidget(), view);
    QCOMPARE(window_->pages()->tabText(window_->pages()->currentIndex()), QString("Results"));
    const std::vector<RunFile> expected = {{path("cats.out"), 14}, {path("cats.x2"), 0}, {path("cats.torvi.json"), 0}};
    QCOMPARE(view->files(), expected);
    QCOMPARE(view->list->count(), 3);
    QCOMPARE(view->list->item(0)->text(), QString("cats.out"));
    QCOMPARE(view->run_start_line(), 2);
    QCOMPARE(view->text->textCursor().blockNumber(), 2);
    QVERIFY(view->text->textCursor().block().text().startsWith("****"));
    QVERIFY(view->text->isReadOnly());
    QVERIFY(QFontInfo(view->text->font()).fixedPitch());
    QVERIFY(!view->text->toPlainText().contains('\r'));

    std::vector<QUrl> opened;
    view->open_url = [&](const QUrl& url) {
      opened.push_back(url);
      return true;
    };
    view->list->setCurrentRow(1);
    QCOMPARE(view->run_start_line(), 0);
    view->BT_OpenEditor->click();
    view->BT_OpenFolder->click();
    QCOMPARE(opened, (std::vector<QUrl>{QUrl::fromLocalFile(path("cats.x2")), QUrl::fromLocalFile(dir_->path())}));
  }

  // Not a check: with TORVI_SCREENSHOT_DIR set, saves pictures of the window
  // at its size on a 1366 x 768 screen: first-page.png after Open,
  // progress.png during a Run, results-view.png after it.
  void screenshots() {
    const QString target = qEnvironmentVariable("TORVI_SCREENSHOT_DIR");
    if (target.isEmpty()) QSKIP("TORVI_SCREENSHOT_DIR not set");
    start();
    window_->resize(window_->default_size({1366, 728}));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    open({data_file("nancycats.dat")});
    page()->CB_Rst->setChecked(true);
    page()->CB_Fstpp->setChecked(true);
    page()->CB_HWW->setChecked(true);
    page()->SpinEdit1->setValue(100000);
    QTest::qWait(300);
    QVERIFY(window_->grab().save(target + "/first-page.png"));

    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    page()->BT_Run->click();
    QTRY_VERIFY_WITH_TIMEOUT(window_->status_progress()->text->text().contains("about"), 60000);
    QTest::qWait(1500);
    QVERIFY(window_->grab().save(target + "/progress.png"));
    window_->progress_strip()->BT_Cancel->click();
    QVERIFY(finished.wait(60000));
    QTest::qWait(300);
    QVERIFY(window_->grab().save(target + "/results-view.png"));
  }
};

QTEST_MAIN(RunFeedbackTest)
#include "run_feedback_test.moc"
