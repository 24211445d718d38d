#include "application/BusHandOver.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "application/ApplicationBus.h"
#include "application/FavoriteIndex.h"
#include "model/FileUrls.h"

namespace tessel {
namespace {

QDBusMessage callFor(const LaunchCommand& command) {
  const auto call = [](const char* method) {
    return QDBusMessage::createMethodCall(ApplicationBus::kName, ApplicationBus::kPath,
                                          QStringLiteral("org.freedesktop.Application"), method);
  };
  if (command.service) {
    QVariantList parameter;
    if (const std::optional<std::int64_t> index = favoriteIndex(command.service->userData)) {
      parameter.append(qint64{*index});
    }
    for (const QUrl& item : command.service->items) {
      parameter.append(QByteArray::fromStdString(localPath(item)));
    }
    return call("ActivateAction") << QStringLiteral("service") << QVariant(parameter)
                                  << QVariantMap();
  }
  if (!command.background && command.urls.isEmpty()) return call("Activate") << QVariantMap();
  return call("Open") << command.urls << QVariantMap();
}

}  // namespace

std::optional<SingleInstance::HandOver> handOverOnBus(const LaunchCommand& command,
                                                      const QDBusConnection& bus, int seconds) {
  using Outcome = SingleInstance::HandOver::Outcome;
  QDBusMessage call = callFor(command);
  // With no host, this process becomes the host: the bus is not to start another.
  call.setAutoStartService(false);
  const QDBusMessage reply = bus.call(call, QDBus::Block, seconds * 1000);
  if (reply.type() == QDBusMessage::ReplyMessage) return {{Outcome::answered, {}}};
  const QString error = reply.errorName();
  // A host that is stopped or hangs keeps the name, and the bus delivers the call when it runs
  // again; one that ended has given the name up.
  if (error == QLatin1StringView("org.freedesktop.DBus.Error.NoReply")) {
    if (bus.interface()->isServiceRegistered(QString::fromLatin1(ApplicationBus::kName))) {
      return {{Outcome::unanswered, {}}};
    }
    return std::nullopt;
  }
  const QStringList noHost{QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
                           QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
                           QStringLiteral("org.freedesktop.DBus.Error.Disconnected")};
  if (noHost.contains(error)) return std::nullopt;
  // Any other error is the host's answer: the reason it took nothing.
  return {{Outcome::answered, reply.errorMessage().toUtf8()}};
}

}  // namespace tessel
