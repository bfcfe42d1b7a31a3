#include <atomic>
#include <thread>

#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include "progress_strip.h"
#include "qt_host.h"
#include "scripted_dialogs.h"

using namespace torvi::gui;

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogsAskedFromAWorkerAreShownOnTheGuiThread() {
    testing::ScriptedDialogs dialogs;
    RunProgress progress;
    QtHost host(dialogs, progress);
    dialogs.seed_answers.push_back(torvi::Host::SeedTexts{"1", "2"});
    std::optional<torvi::Host::SeedTexts> texts;
    std::optional<std::string> result_name;
    std::atomic<bool> done = false;
    std::thread worker([&] {
      host.show_error("Error in line 3\n\rof file x.dat");
      texts = host.ask_seed_texts();
      result_name = host.ask_result_file("File name for the RESULT file", "x.out");
      done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);  // the event loop serves the worker's calls
    worker.join();
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QVERIFY(dialogs.messages[0].error);
    QCOMPARE(dialogs.messages[0].text, QString("Error in line 3\nof file x.dat"));
    QVERIFY(texts && texts->first == "1" && texts->second == "2");
    QCOMPARE(result_name.value_or(""), std::string("x.out"));
  }

  void progressStepsReachTheBarAndCancelStopsTheRun() {
    testing::ScriptedDialogs dialogs;
    RunProgress progress;
    QtHost host(dialogs, progress);
    QWidget window;
    auto* strip = new ProgressStrip(progress, &window);
    window.show();
    strip->watch();
    QVERIFY(!host.stop_requested());

    std::thread worker([&] {
      host.progress_begin(10);
      for (int i = 0; i < 3; ++i) host.progress_step();
    });
    worker.join();
    QTRY_VERIFY(strip->isVisible());
    QTRY_COMPARE(strip->bar->value(), 3);
    QCOMPARE(strip->bar->maximum(), 10);

    strip->BT_Cancel->click();
    QVERIFY(host.stop_requested());
    QVERIFY(!strip->BT_Cancel->isEnabled());
    host.progress_end();
    QTRY_VERIFY(!strip->isVisible());

    strip->watch();  // a new run starts without the old request
    QVERIFY(!host.stop_requested());
    strip->stop_watching();
  }
};

QTEST_MAIN(QtHostTest)
#include "qt_host_test.moc"
