#include "application/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QtEndian>
#include <memory>
#include <stdexcept>

#include "core/Localization.h"

namespace tessel {
namespace {

// Each message is its length (4 bytes, big-endian) and then its bytes.
QByteArray framed(const QByteArray& message) {
  QByteArray frame(4, '\0');
  qToBigEndian<quint32>(static_cast<quint32>(message.size()), frame.data());
  return frame + message;
}

// The message at the start of `buffer` once it has fully arrived.
std::optional<QByteArray> unframed(const QByteArray& buffer) {
  if (buffer.size() < 4) return std::nullopt;
  const quint32 length = qFromBigEndian<quint32>(buffer.constData());
  if (static_cast<quint64>(buffer.size()) < 4 + static_cast<quint64>(length)) return std::nullopt;
  return buffer.mid(4, length);
}

// A handed-over command is a command line: anything this large is not one.
constexpr qsizetype kLargestMessage = 64 * 1024 * 1024;

}  // namespace

SingleInstance::SingleInstance(const QString& supportFolder, QObject* parent)
    : QObject(parent), supportFolder_(supportFolder) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

SingleInstance::~SingleInstance() {
  server_.close();
  if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

QString SingleInstance::socketName(const QString& supportFolder) {
  // Keyed by the support folder, so that a test's private data folder has its own host. The
  // runtime folder is private to the user and cleared at log-out; without one the socket
  // sits in the support folder, which is private too.
  const QByteArray key =
      QCryptographicHash::hash(QDir::cleanPath(supportFolder).toUtf8(), QCryptographicHash::Sha256)
          .toHex()
          .left(16);
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) {
    return runtime + QStringLiteral("/tessel-") + QString::fromLatin1(key) +
           QStringLiteral(".socket");
  }
  return supportFolder + QStringLiteral("/host.socket");
}

bool SingleInstance::claim() {
  if (lockFd_ >= 0) return true;
  QDir().mkpath(supportFolder_);
  ::chmod(QFile::encodeName(supportFolder_).constData(), 0700);
  const QByteArray lockPath = QFile::encodeName(supportFolder_ + QStringLiteral("/host.lock"));
  const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  lockFd_ = fd;
  return true;
}

bool SingleInstance::listen(Receiver receiver) {
  receiver_ = std::move(receiver);
  const QString name = socketName(supportFolder_);
  // Holding the lock, any socket left there belongs to a host that is gone.
  QLocalServer::removeServer(name);
  return server_.listen(name);
}

void SingleInstance::answer() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
      buffer->append(socket->readAll());
      if (buffer->size() > kLargestMessage) {
        socket->abort();
        return;
      }
      const std::optional<QByteArray> command = unframed(*buffer);
      if (!command) return;
      buffer->clear();
      socket->write(framed(receiver_ ? receiver_(*command) : QByteArray()));
      socket->disconnectFromServer();
    });
  }
}

SingleInstance::HandOver SingleInstance::handOver(const QByteArray& command, int seconds) {
  const QDeadlineTimer deadline(seconds * 1000);
  const QByteArray frame = framed(command);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(socketName(supportFolder_));
    if (socket.waitForConnected(1000)) {
      socket.write(frame);
      QByteArray reply;
      while (socket.waitForReadyRead(
          static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
        reply.append(socket.readAll());
        if (const std::optional<QByteArray> message = unframed(reply)) {
          return {HandOver::Outcome::answered, *message};
        }
      }
      // Once the whole command is with the kernel, the host reads it whenever it runs again;
      // only a command that never got there is not carried out.
      if (deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState &&
          socket.bytesToWrite() == 0) {
        return {HandOver::Outcome::unanswered, {}};
      }
    } else if (claim()) {
      return {HandOver::Outcome::becameHost, {}};
    }
    QThread::msleep(50);
  }
  throw std::runtime_error(
      localizedText("実行中のTesselが応答しません。", "The running Tessel does not answer."));
}

}  // namespace tessel
