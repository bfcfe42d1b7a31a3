#include <memory>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window.h"
#include "options_commands.h"
#include "qsettings_store.h"
#include "run_page.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

using torvi::gui::MainWindow;
using torvi::gui::PickAnswer;
using torvi::gui::PickEntry;
using torvi::gui::QSettingsStore;
using torvi::gui::testing::read_all;
using torvi::gui::testing::ScriptedDialogs;
using torvi::gui::testing::write_all;

namespace {

const QByteArray kPops =
    "4 5 12 2\r\nloc1\r\nlocus-two-long\r\nloc3\r\nloc4\r\nloc5\r\n"
    "1 0101 0102 0101 0101 0303\r\n1 0102 0202 0101 0101 0303\r\n"
    "2 0101 0102 0101 0101 0303\r\n2 0101 0101 0101 0101 0303\r\n"
    "3 0202 0102 0101 0101 0303\r\n3 0102 0102 0101 0101 0303\r\n"
    "4 0101 0102 0101 0101 0303\r\n4 0202 0202 0101 0101 0303\r\n";

// Numbers whose flag is set (index 0 is unused).
std::vector<int> chosen(const std::vector<uint8_t>& flags) {
  std::vector<int> out;
  for (size_t i = 1; i < flags.size(); ++i)
    if (flags[i]) out.push_back(static_cast<int>(i));
  return out;
}

}  // namespace

class OptionsMenuTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  torvi::Selection selection() const { return window_->options_commands()->selection(); }

  void open_pops() {
    write_all(path("pops.dat"), kPops);
    dialogs_->open_answers.push_back({path("pops.dat")});
    window_->mOpen->trigger();
  }

 private slots:
  void initTestCase() { qputenv("SOURCE_DATE_EPOCH", "1700000000"); }

  void init() {
    set_up();
    start("12345 67890\r\n");
    open_pops();
  }

  void cleanup() { tear_down(); }

  void lociDialogListsTheLociAndReturnsUntilOneIsChosen() {
    dialogs_->pick_scripts = {ScriptedDialogs::choose({}), ScriptedDialogs::choose({5, 2})};
    window_->Locitouse1->trigger();
    QCOMPARE(dialogs_->picks_shown.size(), size_t{2});
    QCOMPARE(dialogs_->picks_shown[0].caption, QString("Pick Loci"));
    QCOMPARE(dialogs_->picks_shown[0].left_label, QString("Loci to choose from :"));
    QCOMPARE(dialogs_->picks_shown[0].right_label, QString("Chosen loci :"));
    QVERIFY(!dialogs_->picks_shown[0].cancel_button);
    const auto& first = dialogs_->pick_lists_shown[0];
    QCOMPARE(first.left.size(), size_t{5});
    QCOMPARE(first.left[1], (PickEntry{2, "2. locus-"}));
    QVERIFY(first.right.empty());
    QCOMPARE(chosen(selection().locus_selected), (std::vector<int>{2, 5}));
    QVERIFY(window_->Locitouse1->isChecked());
  }

  void lociDialogClosedByItsFrameChangesNothing() {
    dialogs_->pick_scripts = {ScriptedDialogs::choose({}), ScriptedDialogs::choose({1}, PickAnswer::closed)};
    window_->Locitouse1->trigger();
    QCOMPARE(chosen(selection().locus_selected), (std::vector<int>{1, 2, 3, 4, 5}));
    QVERIFY(!window_->Locitouse1->isChecked());
  }

  void choosingEveryLocusPutsNoMark() {
    dialogs_->pick_scripts = {ScriptedDialogs::choose({1, 2, 3, 4, 5})};
    window_->Locitouse1->trigger();
    QVERIFY(!window_->Locitouse1->isChecked());
    // A mark once put is never removed by the dialog.
    dialogs_->pick_scripts = {ScriptedDialogs::choose({1}), ScriptedDialogs::choose({1, 2, 3, 4, 5})};
    window_->Locitouse1->trigger();
    window_->Locitouse1->trigger();
    QVERIFY(window_->Locitouse1->isChecked());
  }

  void samplesDialogReturnsUntilTwoAreChosenAndCancelKeepsTheChoice() {
    dialogs_->pick_scripts = {ScriptedDialogs::choose({1, 3})};
    window_->Samplestouse1->trigger();
    QCOMPARE(dialogs_->picks_shown[0].caption, QString("Samples to use"));
    QCOMPARE(dialogs_->picks_shown[0].left_label, QString("Original samples"));
    QCOMPARE(dialogs_->picks_shown[0].right_label, QString("Samples to keep"));
    QVERIFY(dialogs_->picks_shown[0].cancel_button);
    // No label file and no run yet: the lines hold the numbers only.
    QCOMPARE(dialogs_->pick_lists_shown[0].left[0].text, QString("1. "));
    QCOMPARE(chosen(selection().sample_selected), (std::vector<int>{1, 3}));
    QVERIFY(window_->Samplestouse1->isChecked());

    // One sample, then Cancel: the dialog came back, and the choice and the
    // mark stay as they were before it (never a single sample in use).
    dialogs_->picks_shown.clear();
    dialogs_->pick_scripts = {ScriptedDialogs::choose({4}), ScriptedDialogs::choose({}, PickAnswer::cancel)};
    window_->Samplestouse1->trigger();
    QCOMPARE(dialogs_->picks_shown.size(), size_t{2});
    QCOMPARE(chosen(selection().sample_selected), (std::vector<int>{1, 3}));
    QVERIFY(window_->Samplestouse1->isChecked());
  }

  void labelFileNamesTheSamplesAndAShortOneIsRefused() {
    QVERIFY(window_->Labelfileforpops1->isEnabled());
    write_all(path("pops.lab"), "north\r\nsouth-east\r\nwest\r\neast\r\n");
    dialogs_->label_file_answers = {path("pops.lab")};
    window_->Labelfileforpops1->trigger();
    QVERIFY(window_->Labelfileforpops1->isChecked());
    QCOMPARE(selection().sample_names, (std::vector<std::string>{"", "north", "south-", "west", "east"}));

    dialogs_->pick_scripts = {ScriptedDialogs::choose({2, 4}, PickAnswer::cancel)};
    window_->Samplestouse1->trigger();
    QCOMPARE(dialogs_->pick_lists_shown[0].left[1].text, QString("2. south-"));

    // A file too short for the samples leaves the mark and the labels.
    write_all(path("short.lab"), "one\r\n");
    dialogs_->label_file_answers = {path("short.lab")};
    window_->Labelfileforpops1->trigger();
    QVERIFY(window_->Labelfileforpops1->isChecked());
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].error);
    QVERIFY(dialogs_->messages[0].text.contains("short.lab"));
    QCOMPARE(selection().sample_names[2], std::string("south-"));
  }

  void openTakesTheMarksOff() {
    dialogs_->pick_scripts = {ScriptedDialogs::choose({1, 2}), ScriptedDialogs::choose({3})};
    window_->Samplestouse1->trigger();
    window_->Locitouse1->trigger();
    QVERIFY(window_->Samplestouse1->isChecked() && window_->Locitouse1->isChecked());
    open_pops();
    QVERIFY(!window_->Samplestouse1->isChecked() && !window_->Locitouse1->isChecked());
    QCOMPARE(chosen(selection().sample_selected), (std::vector<int>{1, 2, 3, 4}));
    QCOMPARE(chosen(selection().locus_selected), (std::vector<int>{1, 2, 3, 4, 5}));
  }

  void runAnalysesTheSubsetAndAsksItsName() {
    write_all(path("pops.lab"), "north\r\nsouth\r\nwest\r\neast\r\n");
    dialogs_->label_file_answers = {path("pops.lab")};
    window_->Labelfileforpops1->trigger();
    dialogs_->pick_scripts = {ScriptedDialogs::choose({2, 5}), ScriptedDialogs::choose({1, 3})};
    window_->Locitouse1->trigger();
    window_->Samplestouse1->trigger();
    dialogs_->subset_answers = {path("chosen")};
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    window_->run_page()->BT_Run->click();
    QVERIFY(finished.wait(60000));

    QCOMPARE(dialogs_->subset_requests.size(), size_t{1});
    QCOMPARE(dialogs_->subset_requests[0].first, QString("File name for the selected subset of samples and loci :"));
    QCOMPARE(dialogs_->subset_requests[0].second, path("pops-L25-P13.dat"));
    QVERIFY(read_all(path("chosen.dat")).startsWith("   2    2   12    2\r\nlocus-two-long\r\nloc5\r\n"));
    QCOMPARE(read_all(path("chosen.lab")), QByteArray("north\r\nwest\r\n"));
    QVERIFY(read_all(path("chosen.out")).contains("from file chosen.dat. *"));
    QVERIFY(!QFile::exists(path("pops.out")));
  }
};

QTEST_MAIN(OptionsMenuTest)
#include "options_menu_test.moc"
