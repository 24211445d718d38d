#include "model/FileUrls.h"

#include <QString>
#include <stdexcept>

namespace tessel {

std::string localPath(const QUrl& url) {
  return url.toLocalFile().toStdString();
}

std::vector<std::string> localPaths(const QList<QUrl>& urls) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<size_t>(urls.size()));
  for (const QUrl& url : urls) paths.push_back(localPath(url));
  return paths;
}

QList<QUrl> fileUrls(const std::vector<std::string>& paths) {
  QList<QUrl> urls;
  urls.reserve(static_cast<qsizetype>(paths.size()));
  for (const std::string& path : paths)
    urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
  return urls;
}

std::string errorDescription(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace tessel
