#include "HostHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tessel::testing {

bool waitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(10000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace tessel::testing
