#include "model/FileUrls.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace tessel {

// File names are bytes. A URL keeps the bytes that are not UTF-8 as percent escapes, and only
// the encoded form gives them back unchanged: toLocalFile() and QString would turn them into
// U+FFFD, which names another file or none.
std::string localPath(const QUrl& url) {
  QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  const QString host = url.host();
  if (!host.isEmpty() && host != QStringLiteral("localhost")) path.prepend("//" + host.toUtf8());
  return path.toStdString();
}

QUrl fileUrl(const std::string& path) {
  return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

std::vector<std::string> localPaths(const QList<QUrl>& urls) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<size_t>(urls.size()));
  for (const QUrl& url : urls) paths.push_back(localPath(url));
  return paths;
}

std::string errorDescription(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace tessel
