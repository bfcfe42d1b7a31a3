#pragma once

#include <functional>
#include <thread>

#include <QObject>
#include <QString>

namespace torvi::gui {

// Runs the regression window's work on a thread of its own so the window
// keeps painting. Whatever the work uses must outlive it; finished() is
// emitted on the GUI thread once it has ended.
class RegressWorker : public QObject {
  Q_OBJECT

 public:
  explicit RegressWorker(QObject* parent = nullptr);
  ~RegressWorker() override;

  void start(std::function<void()> work);
  bool running() const { return thread_.joinable(); }

  // Valid after finished(): the text of the error that ended the work (empty
  // when none did), and whether a stop request ended it.
  const QString& failure() const { return failure_; }
  bool cancelled() const { return cancelled_; }

 signals:
  void finished();

 private:
  void thread_done();

  std::thread thread_;
  QString failure_;
  bool cancelled_ = false;
};

}  // namespace torvi::gui
