// One host per user session. The host that holds an exclusive lock on "host.lock" in the
// support folder is the only one that loads the settings and writes the journal; it listens
// on a local socket, and every later `tessel` hands its command over there and ends. Neither
// needs a D-Bus session bus.
// The bus name cannot stand in for either: it is one per bus, not per support folder, so on a
// shared bus it may belong to the host of another folder, and two sessions of one user have
// two buses but one journal.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace tessel {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // Answers one handed-over command; the reply goes back to the process that sent it.
  using Receiver = std::function<QByteArray(const QByteArray& command)>;

  explicit SingleInstance(const QString& supportFolder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // The socket through which commands reach the host of this support folder.
  static QString socketName(const QString& supportFolder);

  // Takes the host's lock (held until this object ends); false when another host holds it.
  bool claim();
  // Starts taking commands; call only after claim() returned true.
  bool listen(Receiver receiver);

  struct HandOver {
    enum class Outcome {
      answered,    // the host carried the command out; `reply` is its answer
      unanswered,  // the host has the whole command but did not answer in time (it may be
                   // stopped); it carries the command out when it runs again
      becameHost,  // the host went away: the caller took the lock and is the host now
    };
    Outcome outcome;
    QByteArray reply;
  };

  // Sends `command` to the running host, trying again while that host is still starting.
  // Throws when, within `seconds`, no host took the whole command: then none ever carries it
  // out.
  HandOver handOver(const QByteArray& command, int seconds = 10);

 private:
  void answer();

  QString supportFolder_;
  int lockFd_ = -1;
  QLocalServer server_;
  Receiver receiver_;
};

}  // namespace tessel
