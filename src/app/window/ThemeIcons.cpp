#include "window/ThemeIcons.h"

#include <QPainter>
#include <QPixmap>

namespace tessel::ThemeIcons {

QIcon named(const QString& name) {
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QIcon::fromTheme(name + QStringLiteral("-symbolic"));
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
  QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1StringView("hicolor")) {
    QIcon::setThemeName(QStringLiteral("Adwaita"));
  }
}

}  // namespace tessel::ThemeIcons
