#include "application/Presentation.h"

namespace tessel {

void Presentation::addWindow(QWidget* window) {
  windows_.append(window);
}

QList<QWidget*> Presentation::windows() const {
  QList<QWidget*> alive;
  for (const QPointer<QWidget>& window : windows_) {
    if (window) alive.append(window);
  }
  return alive;
}

bool Presentation::hasVisibleWindows() const {
  const QList<QWidget*> all = windows();
  return std::ranges::any_of(all, &QWidget::isVisible);
}

QWidget* Presentation::firstWindowThatCanTakeFocus() const {
  for (QWidget* window : windows()) {
    const Qt::WindowType type = window->windowType();
    if (window->isEnabled() && type != Qt::Popup && type != Qt::ToolTip &&
        type != Qt::SplashScreen) {
      return window;
    }
  }
  return nullptr;
}

void Presentation::orderFrontFirstWindow() {
  QWidget* window = firstWindowThatCanTakeFocus();
  if (!window) return;
  hidden_ = false;
  if (window->isMinimized()) window->showNormal();
  window->show();
  window->raise();
}

void Presentation::showMainWindow() {
  QWidget* window = firstWindowThatCanTakeFocus();
  if (!window) return;
  ++revealCount_;
  orderFrontFirstWindow();
  window->activateWindow();
}

void Presentation::orderOutVisibleWindows() {
  for (QWidget* window : windows()) {
    if (window->isVisible()) window->hide();
  }
}

void Presentation::hideApplication() {
  hidden_ = true;
}

}  // namespace tessel
