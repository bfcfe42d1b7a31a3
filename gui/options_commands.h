#pragma once

#include <string>
#include <vector>

#include <QObject>

#include "torvi/data_files.h"
#include "torvi/host.h"
#include "user_dialogs.h"

class QAction;

namespace torvi::gui {

// The commands of the Options menu ("Label file for pops", "Loci to use",
// "Samples to use") and the choice they make, in the numbering of the data
// file opened last. Their check marks are on the three actions.
class OptionsCommands : public QObject {
  Q_OBJECT

 public:
  OptionsCommands(UserDialogs& dialogs, Host& host, QAction* labels, QAction* loci, QAction* samples,
              QObject* parent = nullptr);

  // Open: the file whose first line and locus names were read; no mark, every
  // flag set. Labels stay: they last until the program ends.
  void reset(const DataSet& header);

  // The choice as a run reads it, marks included.
  Selection selection() const;
  bool labels_checked() const;
  int samples_in_file() const { return np_; }
  int loci_in_file() const { return locus_names_.empty() ? 0 : static_cast<int>(locus_names_.size()) - 1; }
  // A choice read from a run settings file, made on the open file's
  // numbering: flags, labels and the three marks.
  void set_selection(const Selection& selection, bool labels_checked);
  // Labels "pop1", "pop2", ... unless the label file is in force.
  void set_default_labels();
  // One line per sample of the file a run analyses: the kept samples
  // renumbered 1, 2, ... with the labels that move with them ("pop" and the
  // new number without a label file).
  std::vector<PickEntry> analysed_samples() const;

 public slots:
  void label_file_clicked();
  void loci_clicked();
  void samples_clicked();

 private:
  QString sample_line(int number, const std::string& label) const;
  void pick_flags(const PickCaptions& captions, PickLists lists, size_t minimum, std::vector<uint8_t>& flags,
                  QAction* mark);

  UserDialogs& dialogs_;
  Host& host_;
  QAction *labels_, *loci_, *samples_;
  int np_ = 0;
  std::vector<std::string> locus_names_;
  Selection selection_;  // flags and labels; the marks are on the actions
};

}  // namespace torvi::gui
