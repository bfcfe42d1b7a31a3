#include "run_worker.h"

#include <exception>

namespace torvi::gui {

RunWorker::RunWorker(QObject* parent) : QObject(parent) {}

RunWorker::~RunWorker() {
  if (thread_.joinable()) thread_.join();
}

void RunWorker::start(Host& host, Rng& rng, NbPerm& nb_perm, RunSettings settings, std::string seeds_path) {
  outcome_ = RunOutcome{};
  failure_.clear();
  thread_ = std::thread([this, &host, &rng, &nb_perm, settings = std::move(settings),
                         seeds_path = std::move(seeds_path)] {
    try {
      outcome_ = run_files(host, rng, nb_perm, settings, seeds_path);
    } catch (const std::exception& e) {
      failure_ = QString::fromStdString(e.what());
    }
    QMetaObject::invokeMethod(this, &RunWorker::thread_done, Qt::QueuedConnection);
  });
}

void RunWorker::thread_done() {
  thread_.join();
  emit finished();
}

}  // namespace torvi::gui
