#include "window/ThemeIcons.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>

namespace tessel::ThemeIcons {

QIcon named(const QString& name) {
  // Symbolic icons follow the text colour and fade visibly when their button is disabled.
  const QString symbolic = name + QStringLiteral("-symbolic");
  if (QIcon::hasThemeIcon(symbolic)) return QIcon::fromTheme(symbolic);
  return QIcon::fromTheme(name);
}

QIcon tinted(const QString& name, const QColor& color, int size) {
  QIcon result;
  for (const int scale : {1, 2}) {
    QPixmap pixmap = named(name).pixmap(size * scale, size * scale);
    if (pixmap.isNull()) continue;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    painter.end();
    result.addPixmap(pixmap);
  }
  return result;
}

void useFallbackTheme() {
  // Some platform plugins (offscreen, minimal) look for themes nowhere but in resources.
  QStringList paths = QIcon::themeSearchPaths();
  QStringList dataFolders = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
  if (dataFolders.isEmpty())
    dataFolders = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
  dataFolders.prepend(QDir::homePath() + QStringLiteral("/.local/share"));
  for (const QString& folder : dataFolders) {
    const QString icons = folder + QStringLiteral("/icons");
    if (!paths.contains(icons) && QDir(icons).exists()) paths.append(icons);
  }
  QIcon::setThemeSearchPaths(paths);
  QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1StringView("hicolor")) {
    QIcon::setThemeName(QStringLiteral("Adwaita"));
  }
}

}  // namespace tessel::ThemeIcons
