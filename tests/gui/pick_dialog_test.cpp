#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "pick_dialog.h"

using torvi::gui::PickAnswer;
using torvi::gui::PickCaptions;
using torvi::gui::PickDialog;
using torvi::gui::PickEntry;
using torvi::gui::PickLists;

namespace {

const PickCaptions kSamples{"TFpickpop", "Samples to use", "Original samples", "Samples to keep", true};
const PickCaptions kLoci{"Tfpickloci", "Pick Loci", "Loci to choose from :", "Chosen loci :", false};

PickLists five() {
  PickLists lists;
  for (int i = 1; i <= 5; ++i) lists.left.push_back({i, QString("%1. pop%1").arg(i)});
  return lists;
}

std::vector<int> numbers(const std::vector<PickEntry>& entries) {
  std::vector<int> out;
  for (const PickEntry& e : entries) out.push_back(e.number);
  return out;
}

void select_rows(QListWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int r : rows) list->item(r)->setSelected(true);
}

}  // namespace

class PickDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsAndButtonsOfBothDialogs() {
    PickDialog samples(kSamples);
    QCOMPARE(samples.objectName(), QString("TFpickpop"));
    QCOMPARE(samples.windowTitle(), QString("Samples to use"));
    QCOMPARE(samples.Label1->text(), QString("Original samples"));
    QCOMPARE(samples.Label2->text(), QString("Samples to keep"));
    QCOMPARE(samples.BT_Add->text(), QString(">"));
    QCOMPARE(samples.BT_Remove->text(), QString("<"));
    QCOMPARE(samples.BT_OK->text(), QString("OK"));
    QCOMPARE(samples.BT_Cancel->text(), QString("Cancel"));
    QVERIFY(!samples.BT_Cancel->isHidden());
    QCOMPARE(samples.ListBox1->selectionMode(), QAbstractItemView::ExtendedSelection);

    PickDialog loci(kLoci);
    QCOMPARE(loci.windowTitle(), QString("Pick Loci"));
    QCOMPARE(loci.Label1->text(), QString("Loci to choose from :"));
    QCOMPARE(loci.Label2->text(), QString("Chosen loci :"));
    QVERIFY(loci.BT_Cancel->isHidden());
  }

  void arrowsMoveSelectedLinesInListOrderToTheEnd() {
    PickDialog dialog(kSamples);
    dialog.set_lists(five());
    select_rows(dialog.ListBox1, {3, 1});
    dialog.BT_Add->click();
    QCOMPARE(numbers(dialog.lists().right), (std::vector<int>{2, 4}));
    select_rows(dialog.ListBox1, {0});
    dialog.BT_Add->click();
    QCOMPARE(numbers(dialog.lists().right), (std::vector<int>{2, 4, 1}));
    QCOMPARE(numbers(dialog.lists().left), (std::vector<int>{3, 5}));
    select_rows(dialog.ListBox2, {0});
    dialog.BT_Remove->click();
    QCOMPARE(numbers(dialog.lists().left), (std::vector<int>{3, 5, 2}));
    QCOMPARE(dialog.lists().right[0].text, QString("4. pop4"));
  }

  void okCancelAndTheFrameAreToldApart() {
    PickDialog dialog(kSamples);
    dialog.set_lists(five());
    QTimer::singleShot(0, dialog.BT_OK, &QPushButton::click);
    dialog.exec();
    QCOMPARE(dialog.answer(), PickAnswer::ok);

    dialog.set_lists(five());
    QTimer::singleShot(0, dialog.BT_Cancel, &QPushButton::click);
    dialog.exec();
    QCOMPARE(dialog.answer(), PickAnswer::cancel);

    dialog.set_lists(five());
    QTimer::singleShot(0, &dialog, &QDialog::reject);
    dialog.exec();
    QCOMPARE(dialog.answer(), PickAnswer::closed);
  }
};

QTEST_MAIN(PickDialogTest)
#include "pick_dialog_test.moc"
