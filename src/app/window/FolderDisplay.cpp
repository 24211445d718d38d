#include "window/FolderDisplay.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace tessel {

QString displayPath(const QString& path, const QString& home) {
  const QString inside = home + QLatin1Char('/');
  if (!home.isEmpty() && path.startsWith(inside)) {
    return QLatin1Char('~') + path.mid(home.size());
  }
  return path;
}

PathLabel::PathLabel(const QString& path, const QString& home, QWidget* parent)
    : QLabel(parent), full_(displayPath(path, home)) {
  setToolTip(path);
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setText(full_);
}

QSize PathLabel::minimumSizeHint() const {
  return {fontMetrics().horizontalAdvance(QStringLiteral("~/…/…")),
          QLabel::minimumSizeHint().height()};
}

void PathLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void PathLabel::elide() {
  setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, width()));
}

}  // namespace tessel
