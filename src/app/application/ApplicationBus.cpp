#include "application/ApplicationBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <limits>

#include "model/FileUrls.h"
#include "path/PathText.h"
#include "request/HostAddress.h"

namespace tessel {
namespace {

constexpr QLatin1StringView kServiceAction("service");
constexpr QLatin1StringView kMoveFilesAction("MoveFiles");
constexpr QLatin1StringView kMoveToFavoriteAction("MoveToFavorite");

// The favourite a desktop action names: "MoveToFavorite1" is the first, index 0.
std::optional<std::optional<qint64>> favoriteOfAction(const QString& name) {
  if (name == kServiceAction || name == kMoveFilesAction) return std::optional<qint64>();
  if (!name.startsWith(kMoveToFavoriteAction)) return std::nullopt;
  bool ok = false;
  const qint64 number = name.mid(kMoveToFavoriteAction.size()).toLongLong(&ok);
  if (!ok || number < 1) return std::nullopt;
  return std::optional<qint64>(number - 1);
}

std::optional<qint64> integer(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
      return value.toLongLong();
    case QMetaType::ULongLong:
      if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
        return std::nullopt;
      return value.toLongLong();
    default:
      return std::nullopt;
  }
}

// A file arrives as the bytes of its path, which need not be text in any encoding. Only an
// absolute path names a file: the caller's folder is not known here.
void addFile(const QByteArray& path, QList<QUrl>& items) {
  if (path.startsWith('/')) items.append(fileUrl(standardizedPath(path.toStdString())));
}

}  // namespace

ApplicationBus::ApplicationBus(Receiver receiver, QObject* parent)
    : QObject(parent), receiver_(std::move(receiver)) {}

ApplicationBus::~ApplicationBus() {
  if (!published_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterService(QString::fromLatin1(HostAddress::kBusName));
  bus.unregisterObject(QString::fromLatin1(HostAddress::kObjectPath));
}

bool ApplicationBus::publish() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  // The object first: a call may arrive as soon as the name is owned.
  if (!bus.registerObject(QString::fromLatin1(HostAddress::kObjectPath), this,
                          QDBusConnection::ExportAllSlots)) {
    return false;
  }
  published_ = bus.registerService(QString::fromLatin1(HostAddress::kBusName));
  if (!published_) bus.unregisterObject(QString::fromLatin1(HostAddress::kObjectPath));
  return published_;
}

std::optional<LaunchCommand> ApplicationBus::actionCommand(const QString& name,
                                                           const QVariantList& parameter) {
  const std::optional<std::optional<qint64>> named = favoriteOfAction(name);
  if (!named) return std::nullopt;
  std::optional<qint64> favorite = *named;
  ServiceCall call;
  for (const QVariant& value : parameter) {
    if (const std::optional<qint64> index = integer(value)) {
      favorite = index;
    } else if (value.metaType() == QMetaType::fromType<QByteArray>()) {
      addFile(value.toByteArray(), call.items);
    } else if (value.metaType() == QMetaType::fromType<QDBusArgument>() &&
               value.value<QDBusArgument>().currentSignature() == QLatin1StringView("aay")) {
      for (const QByteArray& path : qdbus_cast<QByteArrayList>(value)) addFile(path, call.items);
    } else {
      return std::nullopt;
    }
  }
  if (favorite) call.userData = QStringLiteral("favorite:%1").arg(*favorite);
  LaunchCommand command;
  command.service = call;
  return command;
}

void ApplicationBus::Activate(const QVariantMap& /*platformData*/) {
  receiver_(LaunchCommand{});
}

void ApplicationBus::Open(const QStringList& uris, const QVariantMap& /*platformData*/) {
  LaunchCommand command;
  command.background = true;
  command.urls = uris;
  // The reply leaves only after the host has consumed and checked each request, so the caller
  // learns whether it was taken up.
  const QByteArray reply = receiver_(command);
  if (!reply.isEmpty()) {
    sendErrorReply(QString::fromLatin1(HostAddress::kRequestRefused), QString::fromUtf8(reply));
  }
}

void ApplicationBus::ActivateAction(const QString& name, const QVariantList& parameter,
                                    const QVariantMap& /*platformData*/) {
  const std::optional<LaunchCommand> command = actionCommand(name, parameter);
  if (!command) {
    sendErrorReply(QDBusError::InvalidArgs,
                   QStringLiteral("Tessel has no action \"%1\" taking these parameters").arg(name));
    return;
  }
  const QByteArray reply = receiver_(*command);
  if (!reply.isEmpty()) {
    sendErrorReply(QStringLiteral("com.quillmark.Tessel.Error.FilesNotReceived"),
                   QString::fromUtf8(reply));
  }
}

}  // namespace tessel
