#include "application/QtOpenPanel.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QWidget>

namespace tessel {
namespace {

QWidget* activeWindow() {
  return QApplication::activeWindow();
}

}  // namespace

std::optional<QUrl> QtOpenPanel::chooseFolder(const QString& prompt) {
  QFileDialog dialog(activeWindow());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setDirectory(QDir::home());
  if (!prompt.isEmpty()) dialog.setLabelText(QFileDialog::Accept, prompt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) return std::nullopt;
  return dialog.selectedUrls().front();
}

std::optional<QList<QUrl>> QtOpenPanel::chooseItems() {
  // Qt's file dialogs pick several files or one folder, never both together: files it is.
  const QList<QUrl> items = QFileDialog::getOpenFileUrls(activeWindow(), QString(),
                                                         QUrl::fromLocalFile(QDir::homePath()));
  if (items.isEmpty()) return std::nullopt;
  return items;
}

}  // namespace tessel
