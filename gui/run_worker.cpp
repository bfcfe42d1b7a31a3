#include "run_worker.h"

#include <exception>

#include "torvi/seeds.h"

namespace torvi::gui {

RunWorker::RunWorker(QObject* parent) : QObject(parent) {}

RunWorker::~RunWorker() {
  if (thread_.joinable()) thread_.join();
}

void RunWorker::start(Host& host, Rng& rng, NbPerm& nb_perm, RunSettings settings, std::string seeds_path) {
  start_job([&host, &rng, &nb_perm, settings = std::move(settings),
             seeds_path] { return run_files(host, rng, nb_perm, settings, seeds_path); },
            seeds_path);
}

void RunWorker::start_job(std::function<RunOutcome()> job, std::string seeds_path) {
  outcome_ = RunOutcome{};
  refused_ = false;
  start_task([this, job = std::move(job), seeds_path = std::move(seeds_path)] {
    FileLock seeds_lock;
    if (auto problem = lock_seeds_file(seeds_lock, seeds_path)) {
      refused_ = true;
      failure_ = QString::fromStdString(*problem);
      return;
    }
    outcome_ = job();
  });
}

void RunWorker::start_task(std::function<void()> work) {
  failure_.clear();
  thread_ = std::thread([this, work = std::move(work)] {
    try {
      work();
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
