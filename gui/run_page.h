#pragma once

#include <QWidget>

#include "torvi/options.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace torvi::gui {

class RadioGroup;

// The first page, "F-statistics, Testing and Disequilibrium": the options
// of a Run and the Run button. Controls are named after their components.
class RunPage : public QWidget {
  Q_OBJECT

 public:
  explicit RunPage(QWidget* parent = nullptr);

  // The controls as a Run reads them (the label-file mark is the window's).
  RunOptions options() const;
  void set_options(const RunOptions& options);

  QCheckBox *CB_allfreq, *CB_genotfreq, *CB_nal, *CB_Rar, *CB_genediv, *CB_fis;
  QCheckBox *CB_nei, *CB_WC, *CB_Rst, *CB_Fstpp;
  QCheckBox *CB_HWW, *CB_HWO;
  QSpinBox *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;
  RadioGroup* RG_popdif;
  QCheckBox *CB_IFis, *CB_PPFst;
  RadioGroup* RG_MT;
  QSpinBox* SpinEdit5;
  QCheckBox *CB_dp, *CB_r, *CB_details, *CB_Savetables;
  RadioGroup *RG_GDT, *RG_MTG;
  QSpinBox* SpinEdit8;
  QCheckBox* CB_json;  // "Also write a JSON file"
  QPushButton* BT_Run;
};

}  // namespace torvi::gui
