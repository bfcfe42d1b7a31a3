#pragma once

#include <functional>
#include <thread>

#include <QObject>
#include <QString>

#include "torvi/run.h"

namespace torvi::gui {

// Runs the Run command on a thread of its own so the window keeps painting,
// holding the seeds file for the run so that no other run draws the same
// random numbers meanwhile.
// The host, generator and counts must outlive the run; nothing else may use
// them until finished() is emitted.
class RunWorker : public QObject {
  Q_OBJECT

 public:
  explicit RunWorker(QObject* parent = nullptr);
  ~RunWorker() override;

  void start(Host& host, Rng& rng, NbPerm& nb_perm, RunSettings settings, std::string seeds_path);
  // Another command that runs like the Run command (the comparison of groups),
  // holding the seeds file `seeds_path` meanwhile.
  void start_job(std::function<RunOutcome()> job, std::string seeds_path);
  // Runs other work the same way: finished() follows its end, failure()
  // holds the text of an exception that escaped it.
  void start_task(std::function<void()> work);
  bool running() const { return thread_.joinable(); }

  // Valid after finished(): what the run did, and the text of an error that
  // stopped it (empty when none did).
  const RunOutcome& outcome() const { return outcome_; }
  const QString& failure() const { return failure_; }
  // True when the run did not start because another run held the seeds file.
  bool refused() const { return refused_; }

 signals:
  void finished();

 private:
  void thread_done();

  std::thread thread_;
  RunOutcome outcome_;
  QString failure_;
  bool refused_ = false;
};

}  // namespace torvi::gui
