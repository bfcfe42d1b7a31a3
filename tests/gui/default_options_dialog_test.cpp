#include <memory>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "default_options_dialog.h"
#include "qsettings_store.h"
#include "radio_group.h"

using torvi::gui::DefaultOptionsDialog;
using torvi::gui::QSettingsStore;

class DefaultOptionsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<QSettingsStore> store_;

  QString settings_path() const { return dir_->filePath("settings.ini"); }
  QVariant stored(const char* name) const { return QSettings(settings_path(), QSettings::IniFormat).value(name); }
  void store(const char* name, const QVariant& value) {
    QSettings(settings_path(), QSettings::IniFormat).setValue(name, value);
  }
  std::unique_ptr<DefaultOptionsDialog> shown_dialog() {
    store_ = std::make_unique<QSettingsStore>(std::make_unique<QSettings>(settings_path(), QSettings::IniFormat));
    auto dialog = std::make_unique<DefaultOptionsDialog>(*store_);
    dialog->show();
    return dialog;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }

  void cleanup() { store_.reset(); }

  void startsWithTheFixedDefaultsAndDisabledCounts() {
    auto d = shown_dialog();
    QVERIFY(d->CB_nei->isChecked() && d->CB_WC->isChecked() && d->CB_allfreq->isChecked());
    QVERIFY(d->CB_nal->isChecked() && d->CB_genediv->isChecked());
    QVERIFY(!d->CB_fis->isChecked() && !d->CB_Rst->isChecked() && !d->CB_Fstpp->isChecked());
    for (QLineEdit* e : {d->E_HWW, d->E_HWO, d->E_PDHW, d->E_PDNHW}) {
      QCOMPARE(e->text(), QString("0"));
      QVERIFY(!e->isEnabled());
    }
    QVERIFY(!d->RG_popdif->isEnabled());
    QCOMPARE(d->RG_popdif->item(1)->text(), QString("NOT assuming HW within samples "));
    QCOMPARE(d->focusWidget(), d->Bt_OK);
  }

  void tickingATestAsksForAtLeast200() {
    auto d = shown_dialog();
    d->CB_HWW->click();
    QVERIFY(d->E_HWW->isEnabled());
    QCOMPARE(d->focusWidget(), d->E_HWW);
    QCOMPARE(d->CB_HWW->text(), QString("Hardy Weinberg within samples (N>=200)"));
    d->E_HWW->setText("700");
    d->CB_HWW->click();
    QCOMPARE(d->E_HWW->text(), QString("0"));
    QCOMPARE(d->CB_HWW->text(), QString("Hardy Weinberg within samples "));

    d->CB_PopDiff->click();
    QVERIFY(d->RG_popdif->isEnabled());
    d->RG_popdif->item(1)->click();
    QVERIFY(d->E_PDNHW->isEnabled());
    QCOMPARE(d->RG_popdif->item(1)->text(), QString("NOT Assuming HW within samples (N>=200)"));
    QCOMPARE(d->RG_popdif->item(0)->text(), QString("Assuming HW within samples"));
  }

  void okCorrects150AndReturnsUntilAnOkFindsNothing() {
    auto d = shown_dialog();
    d->CB_HWW->click();
    d->E_HWW->setText("150");
    d->Bt_OK->click();
    QVERIFY(d->isVisible());
    QVERIFY(!d->CB_HWW->isChecked());
    QCOMPARE(d->E_HWW->text(), QString("0"));
    QVERIFY(!d->E_HWW->isEnabled());
    // The first OK stored before checking.
    QCOMPARE(stored("nbperm HWW").toInt(), 150);

    d->Bt_Cancel->click();
    QVERIFY(d->isVisible());
    d->Bt_OK->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(stored("nbperm HWW").toInt(), 0);
    QCOMPARE(stored("HWW").toBool(), false);
  }

  void overallCountTakesTheLargerDifferentiationCount() {
    auto d = shown_dialog();
    d->CB_HWO->click();
    d->E_HWO->setText("500");
    d->CB_PopDiff->click();
    d->RG_popdif->item(0)->click();
    d->E_PDHW->setText("2000");
    d->Bt_OK->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(stored("nbperm HWO").toInt(), 2000);
    QCOMPARE(stored("nbperm PDHW").toInt(), 2000);
    QCOMPARE(stored("nbperm PDNHW").toInt(), 0);
    QCOMPARE(stored("Pop Diff").toBool(), true);
  }

  void differentiationCountBelow200IsBlanked() {
    auto d = shown_dialog();
    d->CB_PopDiff->click();
    d->RG_popdif->item(1)->click();
    d->E_PDNHW->setText("abc");
    d->Bt_OK->click();
    QVERIFY(d->isVisible());
    QCOMPARE(d->E_PDNHW->text(), QString("0"));
    QVERIFY(d->CB_PopDiff->isChecked());
  }

  void cancelStoresNothing() {
    auto d = shown_dialog();
    d->CB_Rst->click();
    d->Bt_Cancel->click();
    QVERIFY(!d->isVisible());
    QVERIFY(!stored("Rst").isValid());
  }

  void loadsTheStoredOptions() {
    store("Pop Diff", true);
    store("nbperm PDHW", 1000);
    store("nbperm PDNHW", 500);
    store("HWO", true);
    store("nbperm HWO", 1000);
    store("Fis", true);
    store("Nei", false);
    auto d = shown_dialog();
    QVERIFY(d->CB_fis->isChecked());
    QVERIFY(!d->CB_nei->isChecked());
    QVERIFY(d->CB_PopDiff->isChecked());
    // Both counts set: the second item wins and blanks the first.
    QCOMPARE(d->RG_popdif->item_index(), 1);
    QCOMPARE(d->E_PDNHW->text(), QString("500"));
    QCOMPARE(d->E_PDHW->text(), QString("0"));
    QVERIFY(d->CB_HWO->isChecked());
    QCOMPARE(d->E_HWO->text(), QString("1000"));
    QVERIFY(d->E_HWO->isEnabled());
  }

  void noStoredDifferentiationCountLeavesNoItem() {
    store("Pop Diff", true);
    store("nbperm PDHW", 0);
    store("nbperm PDNHW", 0);
    auto d = shown_dialog();
    QCOMPARE(d->RG_popdif->item_index(), -1);
    QVERIFY(!d->RG_popdif->isEnabled());
    QVERIFY(!d->CB_PopDiff->isChecked());
  }
};

QTEST_MAIN(DefaultOptionsDialogTest)
#include "default_options_dialog_test.moc"
