// The session ends the host with SIGTERM at log-out, and a person at a terminal with SIGINT.
// Either one only asks the event loop to end: the move in flight runs to its end (so its
// journal stays whole), and the host then closes as when the user quits it, leaving no socket.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace tessel {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers for the life of this object; once in a process.
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 private:
  void received();

  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessel
