#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "convert_commands.h"
#include "main_window.h"
#include "progress_strip.h"
#include "run_page.h"
#include "window_fixture.h"

using torvi::gui::ConvertCommands;
using torvi::gui::testing::menu_enabled;
using torvi::gui::testing::read_all;
using torvi::gui::testing::write_all;

class ConvertCommandsTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  QString file(const QString& name, const QByteArray& bytes) {
    write_all(path(name), bytes);
    return path(name);
  }

  // Triggers `command` with the open dialog answering `files`; while it
  // works "&File" and "&Utilities" are disabled; waits for its end.
  void convert(QAction* command, const QStringList& files, bool expect_work = true) {
    dialogs_->open_answers.push_back(files);
    QSignalSpy done(window_->convert_commands(), &ConvertCommands::finished);
    command->trigger();
    if (!expect_work) {
      QVERIFY(!window_->convert_commands()->running());
      return;
    }
    QVERIFY(!menu_enabled(window_->FileMenu));
    QVERIFY(!menu_enabled(window_->UtilitiesMenu));
    QVERIFY(!window_->pages()->isEnabled());
    QVERIFY(done.wait(10000));
    QVERIFY(menu_enabled(window_->FileMenu));
    QVERIFY(menu_enabled(window_->UtilitiesMenu));
    QVERIFY(window_->pages()->isEnabled());
  }

  QStringList texts() const {
    QStringList t;
    for (const auto& m : dialogs_->messages) t << m.text;
    return t;
  }

 private slots:
  void init() {
    set_up();
    start();
  }
  void cleanup() { tear_down(); }

  void torviToGenepopConvertsEveryDataFileChosen() {
    const QString a = file("a.dat", "1 1 9 2\nL\n1 0909\n");
    const QString b = file("b.DAT", "2 1 9 2\nL\n1 0101\n2 0102\n");
    const QString other = file("x.gen", "not converted");
    convert(window_->Torvigenepop1, {a, other, b});
    QCOMPARE(dialogs_->open_requests.size(), size_t{1});
    QCOMPARE(dialogs_->open_requests[0].title, QString("Torvi Data file"));
    QCOMPARE(dialogs_->open_requests[0].filter_index, 1);
    QVERIFY(dialogs_->open_requests[0].multiple);
    QCOMPARE(read_all(path("b.gen")), QByteArray("[Put here a description of the file]    2    1    9\r\nL\r\nPop\r\n"
                                                 "sample 1 ind#1 , 0101 \r\nPop\r\nsample 2 ind#2 , 0102 \r\n"));
    QVERIFY(QFile::exists(path("a.gen")));
    QCOMPARE(read_all(other), QByteArray("not converted"));
    QCOMPARE(texts(), QStringList{"Genepop compatible datafile\nstored in file " + path("b.gen")});
    QVERIFY(!dialogs_->messages[0].error);
  }

  void torviToGenepopAsksBeforeReplacingAndCancelIsAnInvalidName() {
    const QString a = file("a.dat", "1 1 9 2\nL\n1 0909\n");
    file("a.gen", "old");
    dialogs_->save_answers.push_back(std::nullopt);
    convert(window_->Torvigenepop1, {a});
    QCOMPARE(dialogs_->save_requests.size(), size_t{1});
    QCOMPARE(dialogs_->save_requests[0].first, QString("File name for the new GENEPOP file"));
    QCOMPARE(dialogs_->save_requests[0].second, path("a.gen"));
    QCOMPARE(texts(), QStringList{"Invalid file name"});
    QCOMPARE(read_all(path("a.gen")), QByteArray("old"));
    // A cancelled open dialog converts nothing and says nothing.
    convert(window_->Torvigenepop1, {});
    QCOMPARE(texts().size(), 1);
  }

  void genepopToTorviTakesOneGenepopFile() {
    const QString gen = file("cats.gen", "title\r\nA\r\nPop\r\n1, 0101\r\nPop\r\n2, 0202\r\n");
    convert(window_->GenepopTorvi1, {gen});
    QCOMPARE(dialogs_->open_requests.back().title, QString("Genepop data file"));
    QCOMPARE(dialogs_->open_requests.back().filter_index, 3);
    QVERIFY(!dialogs_->open_requests.back().multiple);
    QCOMPARE(read_all(path("cats.dat")), QByteArray("2 1 2 2\r\nA\r\n   1    101 \r\n   2    202 \r\n"));
    QCOMPARE(texts(), QStringList{"TORVI file format for " + path("cats") + " successfully created."});

    // The data file exists: the save dialog proposes it.
    dialogs_->save_answers.push_back(path("other.dat"));
    convert(window_->GenepopTorvi1, {gen});
    QCOMPARE(dialogs_->save_requests.back().first, QString("File name for the new TORVI file"));
    QCOMPARE(dialogs_->save_requests.back().second, path("cats.dat"));
    QCOMPARE(texts().last(), "TORVI file format for " + path("other.dat") + " successfully created.");

    // Another kind of file, or none, and nothing happens.
    convert(window_->GenepopTorvi1, {file("cats.txt", "x")}, false);
    convert(window_->GenepopTorvi1, {}, false);
    QCOMPARE(texts().size(), 2);
    QVERIFY(menu_enabled(window_->FileMenu) && menu_enabled(window_->UtilitiesMenu));
  }

  void genepopToTorviShowsTheProblemAsAnInformationBox() {
    convert(window_->GenepopTorvi1, {file("bad.gen", "title\nA\nPop\n1, 0100\n")});
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(!dialogs_->messages[0].error);
    QVERIFY(dialogs_->messages[0].text.startsWith("Problem in the genepop file!\na genotype must contain"));
    QVERIFY(!QFile::exists(path("bad.dat")));
  }

  void matricesToColumnsAsksForTheMatricesThenTheColumnarFile() {
    const QString m = file("dist.txt", "0 1 2\n1 0 3\n2 3 0\n");
    dialogs_->save_answers.push_back(path("cols.txt"));
    convert(window_->mat2col, {m, m});
    QCOMPARE(dialogs_->open_requests.back().title, QString("File names for data in matrix form"));
    QCOMPARE(dialogs_->open_requests.back().filter_index, 4);
    QVERIFY(dialogs_->open_requests.back().multiple);
    QCOMPARE(dialogs_->save_requests.back().first, QString("File name for the Columnar file"));
    QCOMPARE(dialogs_->save_requests.back().second, QString());
    QCOMPARE(read_all(path("cols.txt")),
             QByteArray("Put here any comments you want\r\n         3\t     2\r\nvar0 (dist.txt)\r\nvar1 (dist.txt)\r\n"
                        " 1.00000\t 1.00000\t\r\n 2.00000\t 2.00000\t\r\n 3.00000\t 3.00000\t\r\n"));
    QCOMPARE(texts(), QStringList{"Columnar mode file succesfully created."});
  }

  void matricesToColumnsReportsProblemsInAnAbortBox() {
    const QString m = file("dist.txt", "0 1 2\n1 0 3\n2 3 0\n");
    const QString bad = file("bad.txt", "0\n1\n");
    dialogs_->save_answers.push_back(path("cols.txt"));
    convert(window_->mat2col, {m, bad});
    QCOMPARE(dialogs_->abort_messages, 1);
    QCOMPARE(texts(), QStringList{"Problem(s) in the input files, exiting.\n" + bad +
                                  " ends after 2 lines: it has no line 3."});
    // Cancelled dialogs.
    dialogs_->save_answers.push_back(std::nullopt);
    convert(window_->mat2col, {m});
    QCOMPARE(texts().last(), QString("Invalid file name"));
    convert(window_->mat2col, {});
    QCOMPARE(texts().last(), QString("No matrix file chosen: no columnar file written."));
  }

  void cancelStopsTheConversionAndWritesNothing() {
    const QString m = file("dist.txt", "0 1 2\n1 0 3\n2 3 0\n");
    dialogs_->save_answers.push_back(path("cols.txt"));
    dialogs_->open_answers.push_back({m});
    QSignalSpy done(window_->convert_commands(), &ConvertCommands::finished);
    window_->mat2col->trigger();
    window_->progress_strip()->BT_Cancel->click();
    QVERIFY(done.wait(10000));
    QVERIFY(window_->convert_commands()->outcome().cancelled);
    QVERIFY(!QFile::exists(path("cols.txt")));
    QVERIFY(dialogs_->messages.empty());
    QVERIFY(menu_enabled(window_->FileMenu) && menu_enabled(window_->UtilitiesMenu));
  }

  void afterAConversionTheOtherMenusAreAsBeforeAndFileAndUtilitiesEnabled() {
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path("cats.dat"));
    dialogs_->open_answers.push_back({path("cats.dat")});
    window_->mOpen->trigger();
    QVERIFY(menu_enabled(window_->OptionsMenu));
    QVERIFY(!menu_enabled(window_->UtilitiesMenu));
    convert(window_->mat2col, {});
    QVERIFY(menu_enabled(window_->OptionsMenu));
    QVERIFY(window_->run_page()->BT_Run->isEnabled());
    QVERIFY(menu_enabled(window_->UtilitiesMenu));
  }
};

QTEST_MAIN(ConvertCommandsTest)
#include "convert_commands_test.moc"
