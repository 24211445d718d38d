#include "model/SerialWorker.h"

namespace tessel {

SerialWorker::SerialWorker(const QString& name) : context_(std::make_unique<QObject>()) {
  thread_.setObjectName(name);
  context_->moveToThread(&thread_);
  thread_.start();
}

SerialWorker::~SerialWorker() {
  // Queued behind every job already there, so it returns once they have all run.
  QMetaObject::invokeMethod(
      context_.get(), [] {}, Qt::BlockingQueuedConnection);
  thread_.quit();
  thread_.wait();
}

}  // namespace tessel
