#include "regress_worker.h"

#include <exception>

#include "torvi/host.h"

namespace torvi::gui {

RegressWorker::RegressWorker(QObject* parent) : QObject(parent) {}

RegressWorker::~RegressWorker() {
  if (thread_.joinable()) thread_.join();
}

void RegressWorker::start(std::function<void()> work) {
  failure_.clear();
  cancelled_ = false;
  thread_ = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (const RunCancelled&) {
      cancelled_ = true;
    } catch (const std::exception& e) {
      failure_ = QString::fromStdString(e.what());
    }
    QMetaObject::invokeMethod(this, &RegressWorker::thread_done, Qt::QueuedConnection);
  });
}

void RegressWorker::thread_done() {
  thread_.join();
  emit finished();
}

}  // namespace torvi::gui
