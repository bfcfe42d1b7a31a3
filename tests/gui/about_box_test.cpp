#include <QLabel>
#include <QtTest>

#include "about_box.h"

#include "system_info.h"

using namespace torvi::gui;

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void operatingSystemLineKeepsTheShapeOfTheAboutBox() {
    QCOMPARE(os_description("linux", "6.1.0-18-amd64"), QString("Linux 6.1 (Build 0: 18-amd64)"));
    QCOMPARE(os_description("winnt", "10.0.19045"), QString("Windows NT 10.0 (Build 19045)"));
    QCOMPARE(os_description("darwin", "22.1"), QString("Darwin 22.1"));
    QCOMPARE(os_description("freebsd", "nonsense"), QString("Freebsd"));
  }

  void memoryHasThousandsSeparators() {
    QCOMPARE(memory_text(16318544), QString("16,318,544 KB"));
    QCOMPARE(memory_text(999), QString("999 KB"));
    QCOMPARE(memory_text(1000), QString("1,000 KB"));
    QCOMPARE(memory_text(0), QString(" KB"));
    QVERIFY(physical_memory_kb() > 0);
  }

  void boxShowsProductVersionSystemAndMemory() {
    AboutBox box;
    QCOMPARE(box.windowTitle(), QString("About Torvi"));
    QCOMPARE(box.ProductName->text(), QString("Torvi"));
    QCOMPARE(box.Version->text(), QString("Version 2.9.4 (June 2003)"));
    QCOMPARE(box.OSVersion->text(), os_description());
    QVERIFY(box.PhysMem->text().endsWith(" KB"));
    QVERIFY(box.PhysMem->alignment() & Qt::AlignRight);
    QVERIFY(box.findChild<QLabel*>() != nullptr);
    bool memory_caption = false;
    for (QLabel* l : box.findChildren<QLabel*>()) memory_caption |= l->text() == "Memory Available to Windows:";
    QVERIFY(memory_caption);
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
