#include <QtTest>

#include "system_info.h"

using namespace torvi::gui;

class SystemInfoTest : public QObject {
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
};

QTEST_MAIN(SystemInfoTest)
#include "system_info_test.moc"
