#include "HostHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tessel::testing {

bool waitUntil(const std::function<bool()>& done) {
  // Generous: a real host's move syncs the journal and settings to disk, which takes seconds
  // on a machine busy with builds. Waiting longer only costs time when a test fails anyway.
  const QDeadlineTimer deadline(30000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

}  // namespace tessel::testing
