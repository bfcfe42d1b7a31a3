// Recent files, dropped files, shortcuts, tooltips, the manual, and the
// window's size: what a person finds on the main window besides its pages.
#include <QAction>
#include <QCheckBox>
#include <QDropEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

#include "manual_window.h"
#include "radio_group.h"
#include "recent_files.h"
#include "run_page.h"
#include "window_fixture.h"
#include "window_state.h"

using torvi::gui::MainWindow;
using torvi::gui::RecentFiles;
using torvi::gui::testing::write_all;

class WindowConveniencesTest : public QObject, public torvi::gui::testing::WindowFixture {
  Q_OBJECT

 private:
  QString data_file(const QString& name) {
    QFile::copy(TORVI_EXAMPLES_DIR "/nancycats.dat", path(name));
    return path(name);
  }
  bool run_enabled() const { return window_->run_page()->BT_Run->isEnabled(); }
  QStringList recent_texts() const {
    QStringList texts;
    for (QAction* a : window_->recent_files()->menu()->actions()) texts << a->text();
    return texts;
  }

 private slots:
  void init() { set_up(); }
  void cleanup() { tear_down(); }

  void recentFilesKeepTheLastEightAndOpenWithTheChecksOfOpen() {
    start();
    QVERIFY(!window_->recent_files()->menu()->isEnabled());
    dialogs_->open_answers.push_back({data_file("a.dat"), data_file("b.dat"), path("notes.gen")});
    window_->mOpen->trigger();
    QCOMPARE(window_->recent_files()->files(), (QStringList{path("a.dat"), path("b.dat")}));
    for (int i = 1; i <= 8; ++i) window_->recent_files()->add({path(QString("f%1.dat").arg(i))});
    window_->recent_files()->add({path("f3.dat")});  // again: moves to the top, not twice
    QCOMPARE(recent_texts(), (QStringList{"&1 f3.dat", "&2 f8.dat", "&3 f7.dat", "&4 f6.dat", "&5 f5.dat",
                                          "&6 f4.dat", "&7 f2.dat", "&8 f1.dat"}));

    // Kept for the next session, beside the default options but not among them.
    window_.reset();
    QVERIFY(!store_->key_exists());
    start();
    QCOMPARE(window_->recent_files()->files().size(), RecentFiles::kMaxFiles);

    // Chosen again: opened like Open, refused like Open when it cannot be read.
    window_->recent_files()->add({data_file("c.dat")});
    window_->recent_files()->menu()->actions().first()->trigger();
    QCOMPARE(window_->file_list(), QStringList{path("c.dat")});
    QVERIFY(run_enabled());
    QFile::remove(path("c.dat"));
    dialogs_->messages.clear();
    window_->recent_files()->menu()->actions().first()->trigger();
    QVERIFY(!run_enabled());
    QCOMPARE(dialogs_->messages.size(), size_t{1});
    QVERIFY(dialogs_->messages[0].error);
  }

  void droppedDataFilesAreOpened() {
    start();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(data_file("cats.dat")), QUrl::fromLocalFile(path("notes.txt")),
                  QUrl::fromLocalFile(data_file("MORE.DAT")), QUrl("https://example.org/x.dat")});
    QCOMPARE(torvi::gui::dropped_data_files(mime), (QStringList{path("cats.dat"), path("MORE.DAT")}));

    QMimeData text_only;
    text_only.setUrls({QUrl::fromLocalFile(path("notes.txt"))});
    QDragEnterEvent refused({10, 10}, Qt::CopyAction, &text_only, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &refused);
    QVERIFY(!refused.isAccepted());

    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QCOMPARE(window_->file_list(), (QStringList{path("cats.dat"), path("MORE.DAT")}));
    QVERIFY(run_enabled());
    QVERIFY(!window_->Labelfileforpops1->isEnabled());  // two files, as with Open

    // A dropped file that fails the header check leaves nothing to run.
    write_all(path("bad.dat"), "not a data file\n");
    QMimeData bad;
    bad.setUrls({QUrl::fromLocalFile(path("bad.dat"))});
    QDragEnterEvent bad_enter({10, 10}, Qt::CopyAction, &bad, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &bad_enter);
    QVERIFY(bad_enter.isAccepted());
    QDropEvent bad_drop(QPointF(10, 10), Qt::CopyAction, &bad, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &bad_drop);
    QCOMPARE(window_->file_list(), QStringList{path("bad.dat")});
    QVERIFY(!run_enabled());
  }

  void shortcutsAndTheManual() {
    start();
    QCOMPARE(window_->mOpen->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(window_->mExit->shortcut(), QKeySequence("Ctrl+Q"));
    auto* run = window_->findChild<QShortcut*>("RunShortcut");
    QVERIFY(run);
    QCOMPARE(run->key(), QKeySequence("Ctrl+R"));
    emit run->activated();  // nothing opened: nothing runs
    QVERIFY(!window_->running());
    dialogs_->open_answers.push_back({data_file("cats.dat")});
    window_->mOpen->trigger();
    QSignalSpy finished(window_.get(), &MainWindow::run_finished);
    emit run->activated();
    QVERIFY(window_->running() || finished.size() == 1);
    QVERIFY(finished.size() == 1 || finished.wait(120000));

    QVERIFY(window_->mContents1->isVisible() && window_->mContents1->isEnabled());
    window_->mContents1->trigger();
    auto* manual = window_->findChild<torvi::gui::ManualWindow*>();
    QVERIFY(manual && manual->isVisible());
    QCOMPARE(manual->browser->documentTitle(), QString("Torvi manual"));
    QVERIFY(manual->browser->toPlainText().contains("Run cancelled by the user during"));
  }

  void everyStatisticAndTestSaysWhatItIs() {
    start();
    auto* page = window_->run_page();
    const QList<QWidget*> described = {page->CB_allfreq, page->CB_genotfreq, page->CB_nal,    page->CB_Rar,
                                       page->CB_genediv, page->CB_fis,       page->CB_nei,    page->CB_WC,
                                       page->CB_Rst,     page->CB_Fstpp,     page->CB_HWW,    page->CB_HWO,
                                       page->RG_popdif,  page->CB_IFis,      page->CB_PPFst,  page->CB_dp,
                                       page->CB_r,       page->CB_details,   page->CB_Savetables, page->RG_GDT};
    for (QWidget* w : described) {
      const QString tip = w->toolTip();
      const bool one_sentence = !tip.contains(QRegularExpression("\\.\\s+[A-Z]"));
      QVERIFY2(tip.endsWith('.') && one_sentence, qPrintable(w->objectName() + ": " + tip));
    }
    QVERIFY(page->CB_WC->toolTip().contains("Weir and Cockerham's (1984)"));
    QVERIFY(page->CB_nei->toolTip().contains("Nei 1987"));
    QVERIFY(page->CB_Rst->toolTip().contains("Rousset (1996)"));
    QVERIFY(page->RG_popdif->toolTip().contains("Varendt et al. 1996"));
    QVERIFY(page->CB_PPFst->toolTip().contains("Varendt et al. 1996"));
  }

  void defaultSizeFitsASmallScreenAndSizeIsKept() {
    using torvi::gui::default_window_size;
    QCOMPARE(default_window_size({1000, 650}, {761, 560}, {1366, 728}), QSize(1000, 650));
    QCOMPARE(default_window_size({700, 400}, {761, 560}, {1366, 728}), QSize(761, 560));
    QCOMPARE(default_window_size({1500, 900}, {761, 560}, {1366, 728}), QSize(1366, 728));

    start();
    // At the size it takes on a 1366 x 768 screen (less a panel), the first
    // page and its Run button show without scrolling.
    window_->resize(window_->default_size({1366, 728}));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QVERIFY(window_->width() <= 1366 && window_->height() <= 728);
    auto* scroll = window_->findChild<QScrollArea*>();
    QVERIFY(scroll);
    QPushButton* run = window_->run_page()->BT_Run;
    const QRect run_in_view(run->mapTo(scroll->viewport(), QPoint(0, 0)), run->size());
    QVERIFY2(scroll->viewport()->rect().contains(run_in_view), "Run is off-screen");
    QVERIFY(!scroll->horizontalScrollBar()->isVisible() && !scroll->verticalScrollBar()->isVisible());

    window_->resize(780, 560);
    window_->close();
    window_.reset();
    QVERIFY(!store_->key_exists());
    start();
    QCOMPARE(window_->size(), QSize(780, 560));
  }
};

QTEST_MAIN(WindowConveniencesTest)
#include "window_conveniences_test.moc"
