#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QThread;

namespace torvi::gui {

// "Data summary": what the opened data files hold (samples, loci, alleles,
// missing genotypes, monomorphic loci, untyped individuals), shown beside the
// main window after Open. The files are read in full on a thread of their
// own, so the window keeps painting while a large file is read.
class DataSummaryWindow : public QDialog {
  Q_OBJECT

 public:
  explicit DataSummaryWindow(QWidget* parent = nullptr);
  ~DataSummaryWindow() override;  // waits for the files being read

  // Shows the window and starts reading `files`; the text of an earlier
  // request still being read is dropped when it arrives.
  void summarise(const QStringList& files);

  QPlainTextEdit* text;

 signals:
  // The text of the latest request is shown.
  void summarised();

 private:
  void show_text(uint64_t request, const QString& summary);

  uint64_t request_ = 0;
  std::vector<QThread*> readers_;
};

// The text shown for `files`: each file's summary, or the reader's message
// when it refuses the file.
QString data_summary_display(const QStringList& files);

}  // namespace torvi::gui
