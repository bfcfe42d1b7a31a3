#include "run_worker.h"

#include <exception>

#include <QThread>

namespace torvi::gui {

RunWorker::RunWorker(QObject* parent) : QObject(parent) {}

RunWorker::~RunWorker() {
  if (thread_) thread_->wait();
}

void RunWorker::start(Host& host, Rng& rng, NbPerm& nb_perm, RunSettings settings, std::string seeds_path) {
  outcome_ = RunOutcome{};
  failure_.clear();
  thread_ = QThread::create([this, &host, &rng, &nb_perm, settings = std::move(settings),
                             seeds_path = std::move(seeds_path)] {
    try {
      outcome_ = run_files(host, rng, nb_perm, settings, seeds_path);
    } catch (const std::exception& e) {
      failure_ = QString::fromStdString(e.what());
    }
  });
  connect(thread_, &QThread::finished, this, &RunWorker::thread_done);
  thread_->start();
}

void RunWorker::thread_done() {
  thread_->deleteLater();
  thread_ = nullptr;
  emit finished();
}

}  // namespace torvi::gui
