#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "seed_dialog.h"

using torvi::gui::SeedDialog;

class SeedDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsEmptyFieldsAndGivesBackTheTexts() {
    SeedDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Seeds Random Number generator?"));
    QStringList labels;
    for (QLabel* l : dialog.findChildren<QLabel*>()) labels << l->text();
    QVERIFY(labels.contains("First seed? [1..2147483562]"));
    QVERIFY(labels.contains("Second seed?  [1..2147483398]"));
    QCOMPARE(dialog.BT_OK->text(), QString("&OK"));

    dialog.Ernd1->setText("left over");
    QTimer::singleShot(0, &dialog, [&] {
      QVERIFY(dialog.Ernd1->text().isEmpty() && dialog.ERnd2->text().isEmpty());
      QCOMPARE(dialog.focusWidget(), dialog.Ernd1);
      dialog.Ernd1->setText(" 12");
      dialog.ERnd2->setText("x");  // converting and refusing is the caller's
      dialog.BT_OK->click();
    });
    auto texts = dialog.ask();
    QVERIFY(texts);
    QCOMPARE(texts->first, std::string(" 12"));
    QCOMPARE(texts->second, std::string("x"));
  }

  void closingWithoutOkGivesNothing() {
    SeedDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
      dialog.Ernd1->setText("5");
      dialog.reject();
    });
    QVERIFY(!dialog.ask());
  }
};

QTEST_MAIN(SeedDialogTest)
#include "seed_dialog_test.moc"
