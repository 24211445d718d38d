#include "HostHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tessel::testing {

QUrl fileUrl(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path));
}

bool waitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(10000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

void HostTestPlatform::holdMoves() {
  const std::lock_guard lock(heldMutex_);
  held_ = true;
}

void HostTestPlatform::releaseMoves() {
  {
    const std::lock_guard lock(heldMutex_);
    held_ = false;
  }
  released_.notify_all();
}

void HostTestPlatform::moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                                       const OpenFolder& toFolder, const std::string& toName) {
  {
    std::unique_lock lock(heldMutex_);
    released_.wait(lock, [this] { return !held_; });
  }
  FaultInjectingPlatform::moveItemBetween(fromFolder, fromName, toFolder, toName);
}

}  // namespace tessel::testing
