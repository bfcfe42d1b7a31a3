// File > Save run settings... and Open run settings...: what the file holds,
// what opening it does to the window, and that it runs what the window runs.
#include <QAction>
#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include "options_commands.h"
#include "radio_group.h"
#include "run/run_driver.h"
#include "run_page.h"
#include "run_settings_commands.h"
#include "window_fixture.h"

using torvi::gui::MainWindow;
using torvi::gui::testing::read_all;
using torvi::gui::testing::ScriptedDialogs;
using torvi::gui::testing::write_all;

class RunSettingsTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  torvi::gui::RunPage* page() const { return window_->run_page(); }

  // A fresh window, its seeds from TORVI.INI, with the example data open.
  void start_with_data(const QString& folder, const QByteArray& seeds = "12345 67890\r\n") {
    QDir().mkpath(path(folder));
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path(folder + "/nancycats.dat"));
    start(seeds);
    dialogs_->open_answers.push_back({path(folder + "/nancycats.dat")});
    window_->mOpen->trigger();
    QVERIFY(window_->run_settings()->open_action->isEnabled());
  }

  // Options away from the initial state, randomisations included so that the
  // seeds matter, and loci 1, 2 and 5 kept.
  void choose_settings() {
    page()->CB_Rst->setChecked(true);
    page()->CB_nei->setChecked(false);
    page()->CB_IFis->setChecked(true);
    page()->RG_MT->set_item_index(static_cast<int>(torvi::NominalLevel::fixed));
    page()->SpinEdit5->setValue(200);
    page()->CB_HWW->setChecked(true);
    page()->SpinEdit1->setValue(200);
    dialogs_->pick_scripts.push_back(ScriptedDialogs::choose({1, 2, 5}));
    window_->Locitouse1->trigger();
    QVERIFY(window_->Locitouse1->isChecked());
  }

  void run_window() {
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    page()->BT_Run->click();
    QVERIFY(finished.wait(120000));
  }

 private slots:
  void initTestCase() { qputenv("SOURCE_DATE_EPOCH", "1700000000"); }

  void init() { set_up(); }
  void cleanup() { tear_down(); }

  void theFileMenuOffersBothCommands() {
    start_with_data("a");
    const QList<QAction*> items = window_->FileMenu->actions();
    const qsizetype save = items.indexOf(window_->run_settings()->save_action);
    QVERIFY(save > items.indexOf(window_->SaveDefaultOptions1));
    QCOMPARE(items.indexOf(window_->run_settings()->open_action), save + 1);
    QCOMPARE(items.indexOf(window_->mExit), save + 2);
    QCOMPARE(window_->run_settings()->save_action->text(), QString("Save run settings..."));
    QCOMPARE(window_->run_settings()->open_action->text(), QString("Open run settings..."));
  }

  void savedFileHoldsThePageTheChoiceAndTheSeedsWhenAsked() {
    start_with_data("a");
    choose_settings();
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("with.json"), true});
    window_->run_settings()->save_action->trigger();
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("without.json"), false});
    window_->run_settings()->save_action->trigger();
    QVERIFY(dialogs_->messages.empty());

    const torvi::RunSettingsFile with = torvi::read_run_settings_file(path("with.json").toStdString());
    QVERIFY(with.options.CB_Rst && !with.options.CB_nei && with.options.CB_HWW);
    QCOMPARE(with.options.SpinEdit1, 200);
    QCOMPARE(with.options.RG_MT, torvi::NominalLevel::fixed);
    QVERIFY(with.loci == std::vector<int>({1, 2, 5}));
    QVERIFY(!with.samples && !with.sample_labels);
    QVERIFY(with.seeds && *with.seeds == torvi::Rng(12345, 67890));
    QVERIFY(!torvi::read_run_settings_file(path("without.json").toStdString()).seeds);
  }

  void openedFilePutsEverythingBackOnTheWindow() {
    start_with_data("a");
    choose_settings();
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("s.json"), true});
    window_->run_settings()->save_action->trigger();
    const torvi::RunOptions saved = page()->options();
    window_.reset();

    start_with_data("b", "5 6\r\n");
    QVERIFY(page()->CB_nei->isChecked());  // Open put the defaults back
    dialogs_->open_settings_answers.push_back(path("s.json"));
    window_->run_settings()->open_action->trigger();
    QVERIFY(dialogs_->messages.empty());
    QVERIFY(!page()->CB_nei->isChecked());
    QCOMPARE(torvi::json_text(torvi::run_options_json(page()->options())),
             torvi::json_text(torvi::run_options_json(saved)));
    QVERIFY(window_->Locitouse1->isChecked());
    QVERIFY(!window_->options_commands()->selection().locus_kept(3));
    QVERIFY(window_->rng() == torvi::Rng(12345, 67890));
  }

  void unusableFileIsRefusedAndChangesNothing() {
    start_with_data("a");
    write_all(path("bad.json"),
              R"({"format": "torvi-settings", "format_version": 1, "page": "run", "options": {"nei": false, "hw_within_perm": 7e5}})");
    dialogs_->open_settings_answers.push_back(path("bad.json"));
    window_->run_settings()->open_action->trigger();
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].error);
    QVERIFY2(dialogs_->messages[0].text.contains("options.hw_within_perm"), qPrintable(dialogs_->messages[0].text));
    QVERIFY(page()->CB_nei->isChecked());

    // Loci of another file: refused, nothing changed either.
    write_all(path("other.json"), R"({"format": "torvi-settings", "format_version": 1, "page": "run", "options": {"nei": false},
               "selection": {"loci": [1, 12]}})");
    dialogs_->open_settings_answers.push_back(path("other.json"));
    window_->run_settings()->open_action->trigger();
    QCOMPARE(dialogs_->messages.size(), size_t{2});
    QVERIFY2(dialogs_->messages[1].text.contains("12 is outside a data file of 9"), qPrintable(dialogs_->messages[1].text));
    QVERIFY(page()->CB_nei->isChecked());
    QVERIFY(!window_->Locitouse1->isChecked());
  }

  // Settings saved from the window, seeds included, and run by the command
  // line give the result file of the window's own Run; with "Also write a
  // JSON file" ticked both write the same results document beside it.
  void windowAndCommandLineRunTheSameSettings() {
    start_with_data("gui");
    choose_settings();
    page()->CB_json->setChecked(true);
    dialogs_->save_settings_answers.push_back(torvi::gui::SettingsFileChoice{path("s.json"), true});
    window_->run_settings()->save_action->trigger();
    run_window();
    const QByteArray by_window = read_all(path("gui/nancycats-L125.out"));
    QVERIFY(!by_window.isEmpty());

    QDir().mkpath(path("cli"));
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path("cli/nancycats.dat"));
    QProcess torvi;
    torvi.setWorkingDirectory(path("cli"));
    torvi.start(TORVI_CLI, {"run", "--settings", path("s.json"), "--quiet", "--threads", "2", "nancycats.dat"});
    QVERIFY(torvi.waitForFinished(120000));
    QCOMPARE(torvi.exitCode(), 0);
    QCOMPARE(read_all(path("cli/nancycats-L125.out")), by_window);
    QCOMPARE(read_all(path("cli/TORVI.INI")), read_all(path("TORVI.INI")));  // the same stream reached
    const QJsonObject by_window_doc = QJsonDocument::fromJson(read_all(path("gui/nancycats-L125.torvi.json"))).object();
    const QJsonObject by_torvi_doc = QJsonDocument::fromJson(read_all(path("cli/nancycats-L125.torvi.json"))).object();
    QCOMPARE(by_window_doc["status"].toString(), QString("complete"));
    QCOMPARE(by_window_doc["command"].toObject()["from"].toString(), QString("desktop program"));
    QCOMPARE(by_torvi_doc["command"].toObject()["from"].toString(), QString("command line"));
    QCOMPARE(by_window_doc["sections"], by_torvi_doc["sections"]);
  }

  void openIsOffWhileNoDataFileIsOpenOrARunWorks() {
    start_with_data("a");
    run_window();
    QVERIFY(!window_->run_settings()->open_action->isEnabled());
    QVERIFY(window_->run_settings()->save_action->isEnabled());
  }
};

QTEST_MAIN(RunSettingsTest)
#include "run_settings_test.moc"
