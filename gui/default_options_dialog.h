#pragma once

#include <QDialog>

#include "torvi/options.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace torvi::gui {

class RadioGroup;

// "Default options" (TSaveOptions): edits the stored defaults. OK stores at
// once, then insists on at least 200 permutations for every test it enables;
// after a correction the dialog stays until an OK finds nothing to correct.
class DefaultOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  DefaultOptionsDialog(SettingsStore& store, QWidget* parent = nullptr);

  QCheckBox *CB_HWW, *CB_HWO, *CB_PopDiff;
  QLineEdit *E_HWW, *E_HWO, *E_PDHW, *E_PDNHW;
  RadioGroup* RG_popdif;
  QCheckBox *CB_nei, *CB_WC, *CB_Rst, *CB_Fstpp;
  QCheckBox *CB_allfreq, *CB_genotfreq, *CB_nal, *CB_genediv, *CB_fis;
  QCheckBox* CB_json;  // "Also write a JSON file"
  QPushButton *Bt_OK, *Bt_Cancel;

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The controls as the store logic sees them.
  DefaultOptionsForm form() const;
  void load(const DefaultOptions& stored);
  void ok_clicked();
  void hww_toggled(bool ticked);
  void hwo_toggled(bool ticked);
  void pop_diff_toggled(bool ticked);
  void pop_diff_item_chosen(int item);
  void edit_on_tick(QCheckBox* box, QLineEdit* edit, bool ticked, const char* ticked_caption,
                    const char* unticked_caption);

  SettingsStore& store_;
  bool must_ok_again_ = false;  // the last OK corrected something
};

}  // namespace torvi::gui
