#include "application/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>

namespace tessel {
namespace {

// The handler may only make async-signal-safe calls: it writes one byte, and the event loop
// does the rest.
std::array<int, 2> wakeUp{-1, -1};

void onSignal(int /*number*/) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
}

void handle(int number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(number, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(wakeUp.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(wakeUp[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::received);
  handle(SIGTERM, onSignal);
  handle(SIGINT, onSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  handle(SIGTERM, SIG_DFL);
  handle(SIGINT, SIG_DFL);
  notifier_.reset();
  ::close(wakeUp[0]);
  ::close(wakeUp[1]);
  wakeUp = {-1, -1};
}

void TerminationSignals::received() {
  char bytes[16];
  while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
  }
  QCoreApplication::quit();
}

}  // namespace tessel
