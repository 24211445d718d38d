#include "application/LaunchCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "path/PathText.h"

namespace tessel {
namespace {

constexpr QByteArrayView kBackgroundArgument("--background-command");
constexpr QByteArrayView kServiceArgument("--service");
constexpr QByteArrayView kUserDataPrefix("favorite:");

// A file manager hands over plain paths (%F) or file URLs (%U); any other URL is not a file
// and is dropped, as a pasteboard read for file URLs only would drop it.
std::optional<QUrl> itemUrl(const QByteArray& argument, const QByteArray& workingFolder) {
  if (argument.isEmpty()) return std::nullopt;
  if (argument.contains("://")) {
    const QUrl url = QUrl::fromEncoded(argument);
    if (url.isLocalFile()) return url;
    return std::nullopt;
  }
  const std::string path = standardizedPath(
      argument.startsWith('/') ? argument.toStdString()
                               : joinPath(workingFolder.toStdString(), argument.toStdString()));
  return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

QJsonArray stringArray(const QStringList& strings) {
  QJsonArray array;
  for (const QString& text : strings) array.append(text);
  return array;
}

}  // namespace

LaunchCommand LaunchCommand::parse(const QByteArrayList& arguments,
                                   const QByteArray& workingFolder) {
  LaunchCommand command;
  command.background = arguments.contains(kBackgroundArgument);
  const qsizetype service = arguments.indexOf(kServiceArgument);
  if (service >= 0) {
    ServiceCall call;
    QByteArrayList rest = arguments.mid(service + 1);
    rest.removeAll(kBackgroundArgument);
    if (!rest.isEmpty() && rest.front().startsWith(kUserDataPrefix)) {
      call.userData = QString::fromUtf8(rest.takeFirst());
    }
    for (const QByteArray& argument : rest) {
      if (const std::optional<QUrl> url = itemUrl(argument, workingFolder)) call.items.append(*url);
    }
    command.service = call;
    return command;
  }
  for (const QByteArray& argument : arguments) {
    if (argument != kBackgroundArgument) command.urls.append(QString::fromLocal8Bit(argument));
  }
  return command;
}

QByteArray LaunchCommand::encode() const {
  QJsonObject object{{"background", background}, {"urls", stringArray(urls)}};
  if (service) {
    QStringList items;
    for (const QUrl& item : service->items) items.append(item.toString(QUrl::FullyEncoded));
    QJsonObject call{{"items", stringArray(items)}};
    if (service->userData) call.insert("userData", *service->userData);
    object.insert("service", call);
  }
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<LaunchCommand> LaunchCommand::decode(const QByteArray& bytes) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject object = document.object();
  LaunchCommand command;
  command.background = object.value("background").toBool();
  for (const QJsonValue& url : object.value("urls").toArray()) command.urls.append(url.toString());
  if (object.contains("service")) {
    const QJsonObject call = object.value("service").toObject();
    ServiceCall service;
    if (call.contains("userData")) service.userData = call.value("userData").toString();
    for (const QJsonValue& item : call.value("items").toArray()) {
      service.items.append(QUrl(item.toString(), QUrl::StrictMode));
    }
    command.service = service;
  }
  return command;
}

}  // namespace tessel
