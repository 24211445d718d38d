#include "model/XdgFolderOpener.h"

#include <QProcess>
#include <QStringList>

namespace tessel {

bool XdgFolderOpener::openFolder(const QString& path) {
  // A file URL, so a folder whose name starts with "-" is never read as an option.
  return QProcess::startDetached(QStringLiteral("xdg-open"),
                                 {QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
}

}  // namespace tessel
