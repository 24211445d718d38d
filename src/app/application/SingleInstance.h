// One host per user session. The host that holds an exclusive lock on "host.lock" in the
// support folder is the only one that loads the settings and writes the journal; it listens
// on a local socket, and every later `tessel` hands its command over there and ends. Neither
// needs a D-Bus session bus.
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

  // Sends `command` to the running host and returns its reply, trying again while that host
  // is still starting. Ends in taking the lock itself when the host went away meanwhile: none
  // then, and the caller is the host. Throws when no host answers within `seconds`.
  std::optional<QByteArray> handOver(const QByteArray& command, int seconds = 10);

 private:
  void answer();

  QString supportFolder_;
  int lockFd_ = -1;
  QLocalServer server_;
  Receiver receiver_;
};

}  // namespace tessel
