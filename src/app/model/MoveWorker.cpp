#include "model/MoveWorker.h"

namespace tessel {

MoveWorker::MoveWorker() : context_(std::make_unique<QObject>()) {
  thread_.setObjectName(QStringLiteral("Tessel.moves"));
  context_->moveToThread(&thread_);
  thread_.start();
}

MoveWorker::~MoveWorker() {
  thread_.quit();
  thread_.wait();
}

}  // namespace tessel
