#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>

#include "groups_page.h"
#include "radio_group.h"
#include "run_page.h"
#include "run_settings_commands.h"
#include "support/scripted_host.h"
#include "window_fixture.h"

using torvi::gui::MainWindow;
using torvi::gui::PickAnswer;
using torvi::gui::PickEntry;
using torvi::gui::testing::read_all;
using torvi::gui::testing::ScriptedDialogs;
using torvi::gui::testing::write_all;

class GroupsPageTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  torvi::gui::GroupsPage* page() const { return window_->groups_page(); }

  void open(const QStringList& files) {
    dialogs_->open_answers.push_back(files);
    window_->mOpen->trigger();
  }
  void open_cats() {
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path("cats.dat"));
    open({path("cats.dat")});
  }
  void define(int groups, std::vector<ScriptedDialogs::PickScript> scripts) {
    page()->SpinEdit6->setValue(groups);
    dialogs_->pick_scripts.assign(scripts.begin(), scripts.end());
    page()->BT_Defgroups->click();
  }

 private slots:
  void initTestCase() { qputenv("SOURCE_DATE_EPOCH", "1700000000"); }
  void init() {
    set_up();
    start("12345 67890\r\n");
  }
  void cleanup() { tear_down(); }

  // File > Save run settings... with this page in front writes its
  // controls; Open run settings... on another window puts them back.
  void settingsFileOfThePageRoundTrips() {
    open_cats();
    define(2, {ScriptedDialogs::choose({1, 5}), ScriptedDialogs::choose({3, 4})});
    page()->RG_TT2->set_item_index(0);
    page()->CLB_Stats->item(4)->setCheckState(Qt::Checked);
    page()->SpinEdit7->setValue(500);
    page()->CB_json->setChecked(true);
    window_->pages()->setCurrentWidget(page());
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("g.json"), true});
    window_->run_settings()->save_action->trigger();
    const torvi::GroupComparison saved = page()->comparison();
    QVERIFY(saved.one_sided);
    window_.reset();

    start("5 6\r\n");
    open_cats();
    window_->pages()->setCurrentWidget(page());
    dialogs_->open_settings_answers.push_back(path("g.json"));
    window_->run_settings()->open_action->trigger();
    QVERIFY(dialogs_->messages.empty());
    const torvi::GroupComparison opened = page()->comparison();
    QVERIFY(opened.groups == saved.groups && opened.statistics == saved.statistics);
    QCOMPARE(opened.permutations, 500);
    QVERIFY(opened.one_sided && page()->BT_Run2->isEnabled() && page()->CB_json->isChecked());
    QVERIFY(window_->rng() == torvi::Rng(12345, 67890));
  }

  void controlsOfThePage() {
    QVERIFY(!window_->pages()->isTabEnabled(1));
    QCOMPARE(page()->SpinEdit6->minimum(), 0);
    QCOMPARE(page()->SpinEdit6->maximum(), 12);
    QCOMPARE(page()->SpinEdit6->value(), 0);
    QCOMPARE(page()->BT_Defgroups->text(), QString("Define groups"));
    QVERIFY(page()->BT_Defgroups->isEnabledTo(page()));
    QCOMPARE(page()->RG_TT2->title(), QString("Type of tests for two groups"));
    QVERIFY(page()->RG_TT2->isHidden());
    QCOMPARE(page()->RG_TT2->item_index(), 1);
    QCOMPARE(page()->CLB_Stats->count(), 7);
    QCOMPARE(page()->CLB_Stats->item(0)->text(), QString("Allelic Richness"));
    QCOMPARE(page()->CLB_Stats->item(6)->text(), QString("Corrected Relatedness"));
    for (int i = 0; i < 7; ++i) QCOMPARE(page()->CLB_Stats->item(i)->checkState(), Qt::Unchecked);
    QCOMPARE(page()->SpinEdit7->maximum(), 15000);
    QCOMPARE(page()->SpinEdit7->singleStep(), 100);
    QCOMPARE(page()->SpinEdit7->value(), 0);
    QVERIFY(!page()->BT_Run2->isEnabled());
    open_cats();
    QVERIFY(window_->pages()->isTabEnabled(1));
    QVERIFY(!page()->BT_Run2->isEnabled());
  }

  void definingTwoGroupsShowsTheTestTypeAndEnablesRun() {
    open_cats();
    page()->RG_TT2->set_item_index(0);
    define(2, {ScriptedDialogs::choose({5}), ScriptedDialogs::choose({5, 1}), ScriptedDialogs::choose({3, 4})});
    QCOMPARE(dialogs_->picks_shown.size(), size_t{3});  // one member only: the first group was asked again
    QCOMPARE(dialogs_->picks_shown[0].caption, QString("Define group 1"));
    QCOMPARE(dialogs_->picks_shown[0].left_label, QString("original samples"));
    QCOMPARE(dialogs_->picks_shown[2].right_label, QString("sample in group 2"));
    QVERIFY(dialogs_->picks_shown[0].cancel_button);
    // Without a label file the samples are named "pop" and their number.
    QCOMPARE(dialogs_->pick_lists_shown[0].left[16], (PickEntry{17, "17. pop17"}));
    QVERIFY(!page()->RG_TT2->isHidden());
    QCOMPARE(page()->RG_TT2->item_index(), 1);
    QVERIFY(page()->BT_Run2->isEnabled());
    const torvi::GroupComparison c = page()->comparison();
    QCOMPARE(c.groups, (std::vector<std::vector<int>>{{1, 5}, {3, 4}}));

    // Another number of groups needs a new definition.
    page()->SpinEdit6->setValue(3);
    QVERIFY(!page()->BT_Run2->isEnabled());
    define(3, {ScriptedDialogs::choose({1, 2}), ScriptedDialogs::choose({3, 4}, PickAnswer::cancel)});
    QVERIFY(page()->RG_TT2->isHidden());
    QVERIFY(!page()->BT_Run2->isEnabled());
  }

  void fewerThanTwoGroupsAsksNothing() {
    open_cats();
    define(1, {});
    QVERIFY(dialogs_->picks_shown.empty());
    QVERIFY(page()->RG_TT2->isHidden());
    QVERIFY(!page()->BT_Run2->isEnabled());
  }

  void groupsHoldingMoreThanTheSamplesAreRefused() {
    write_all(path("four.dat"), "4 1 2 1\r\nL\r\n1 12\r\n1 11\r\n2 12\r\n2 22\r\n3 11\r\n3 12\r\n4 22\r\n4 12\r\n");
    open({path("four.dat")});
    // Group 2 first takes sample 1 as well: five members for four samples.
    auto put_back_first = [](const torvi::gui::PickCaptions&, torvi::gui::PickLists& lists) {
      lists.left.push_back(lists.right.front());
      lists.right.erase(lists.right.begin());
      return PickAnswer::ok;
    };
    define(2, {ScriptedDialogs::choose({1, 2}), ScriptedDialogs::choose({1, 3, 4}), put_back_first});
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].text.contains("5 samples in all, more than the 4 samples"));
    QCOMPARE(page()->comparison().groups, (std::vector<std::vector<int>>{{1, 2}, {3, 4}}));
    QVERIFY(page()->BT_Run2->isEnabled());
  }

  void keptSamplesAreListedRenumbered() {
    open_cats();
    dialogs_->pick_scripts = {ScriptedDialogs::choose({2, 4, 6})};
    window_->Samplestouse1->trigger();
    dialogs_->pick_lists_shown.clear();
    define(2, {ScriptedDialogs::choose({1}, PickAnswer::cancel)});
    const auto& listed = dialogs_->pick_lists_shown[0].left;
    QCOMPARE(listed.size(), size_t{3});
    QCOMPARE(listed[1], (PickEntry{2, "2. pop2"}));
  }

  void runWritesTheComparisonAndWaitsForTheNextOpen() {
    open_cats();
    page()->CLB_Stats->item(4)->setCheckState(Qt::Checked);
    page()->SpinEdit7->setValue(0);
    define(2, {ScriptedDialogs::choose({1, 2, 3}), ScriptedDialogs::choose({4, 5, 6})});
    page()->BT_Run2->click();  // no permutation: refused
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(!QFile::exists(path("cats_test.out")));

    page()->SpinEdit7->setValue(200);
    page()->RG_TT2->set_item_index(0);
    page()->CB_json->setChecked(true);
    const torvi::GroupComparison c = page()->comparison();
    QVERIFY(c.one_sided);
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    page()->BT_Run2->click();
    QVERIFY(!window_->mExit->isEnabled());
    QVERIFY(!window_->run_page()->isEnabled());
    QVERIFY(finished.wait(60000));

    // The same comparison driven directly, from the same seeds.
    torvi::testing::ScriptedHost host;
    torvi::Rng rng(12345, 67890);
    torvi::GroupRunSettings settings;
    settings.comparison = c;
    QDir().mkpath(path("direct"));
    QFile::copy(path("cats.dat"), path("direct/cats.dat"));
    settings.file_list = {path("direct/cats.dat").toStdString()};
    torvi::compare_groups(host, rng, settings, path("direct/TORVI.INI").toStdString());
    QVERIFY(read_all(path("cats_test.out")).contains("Fst: "));
    QCOMPARE(read_all(path("cats_test.out")), read_all(path("direct/cats_test.out")));  // the same with the document
    QVERIFY(window_->rng() == rng);
    const auto doc = torvi::Json::parse(read_all(path("cats_test.torvi.json")).toStdString());
    QCOMPARE(doc["status"], torvi::Json("complete"));
    QCOMPARE(doc["command"]["from"], torvi::Json("desktop program"));

    QVERIFY(dialogs_->messages.back().text.startsWith("Torvi finished processing data in \ncats.dat\n\n"));
    QVERIFY(window_->mExit->isEnabled());
    QVERIFY(window_->run_page()->isEnabled());
    QVERIFY(!window_->run_page()->BT_Run->isEnabled());
    QVERIFY(!window_->pages()->isTabEnabled(1));
    QVERIFY(!page()->BT_Run2->isEnabled());
    QVERIFY(page()->RG_TT2->isHidden());
    QCOMPARE(page()->RG_TT2->item_index(), 1);
    QVERIFY(window_->file_list().isEmpty());
  }
};

QTEST_MAIN(GroupsPageTest)
#include "groups_page_test.moc"
