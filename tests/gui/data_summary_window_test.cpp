#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include "data_summary_window.h"
#include "progress_strip.h"
#include "util/progress_clock.h"

using namespace torvi::gui;

class DataSummaryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsEachFilesSummaryAndTheMessageOfARefusedOne() {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.dat");
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("2 1 9 1\nL\n1 30\n");
    f.close();

    DataSummaryWindow window;
    QSignalSpy done(&window, &DataSummaryWindow::summarised);
    window.summarise({TORVI_EXAMPLES_DIR "/nancycats.dat", bad});
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    QCOMPARE(window.windowTitle(), QString("Data summary"));
    QVERIFY(done.wait(10000));
    const QString text = window.text->toPlainText();
    QVERIFY2(text.contains("17 samples, 9 loci, 237 individuals"), qPrintable(text));
    QVERIFY2(text.contains("bad.dat: not read"), qPrintable(text));
    QVERIFY2(text.contains("Miscoded genotype"), qPrintable(text));
    QVERIFY2(!text.contains("\r"), "message line breaks shown as plain line ends");
  }

  void theLatestRequestWins() {
    DataSummaryWindow window;
    QSignalSpy done(&window, &DataSummaryWindow::summarised);
    window.summarise({"/no/such/first.dat"});
    window.summarise({TORVI_EXAMPLES_DIR "/nancycats.dat"});
    QVERIFY(done.wait(10000));
    QTest::qWait(50);  // the first request's text, if it came late, is dropped
    QCOMPARE(done.count(), 1);
    QVERIFY(window.text->toPlainText().contains("nancycats.dat"));
    QVERIFY(!window.text->toPlainText().contains("first.dat"));
  }

  void progressBarShowsElapsedAndRemainingTime() {
    RunProgress progress;
    QWidget window;
    auto* strip = new ProgressStrip(progress, &window);
    window.show();
    strip->watch();
    progress.range = 1000;
    progress.done = 250;
    progress.started_ns = torvi::steady_now_ns() - 10'000'000'000LL;  // began ten seconds ago
    progress.active = true;
    QTRY_VERIFY(strip->isVisible());
    QTRY_VERIFY2(strip->bar->format().contains("elapsed 0:10, about 0:30 left"), qPrintable(strip->bar->format()));
    QVERIFY(strip->bar->isTextVisible());
    strip->stop_watching();
  }
};

QTEST_MAIN(DataSummaryWindowTest)
#include "data_summary_window_test.moc"
