#include "application/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "application/ApplicationTexts.h"

namespace tessel {

MainWindow::MainWindow(AppModel& model, ContentEnvironment environment, QWidget* parent)
    : QMainWindow(parent), content_(new ContentView(model, std::move(environment), this)) {
  setWindowTitle(ApplicationTexts::windowTitle());
  setCentralWidget(content_);
  setMinimumSize(760, 590);

  QMenu* application = menuBar()->addMenu(QStringLiteral("&Tessel"));
  QAction* quit = application->addAction(ApplicationTexts::quit(), qApp, &QApplication::quit);
  quit->setShortcut(QKeySequence::Quit);
  quit->setShortcutContext(Qt::ApplicationShortcut);

  QMenu* edit = menuBar()->addMenu(ApplicationTexts::editMenu());
  undo_ =
      edit->addAction(ApplicationTexts::undoLastMove(), &model, [&model] { model.undoLastMove(); });
  undo_->setObjectName(QStringLiteral("undoLastMoveAction"));
  undo_->setShortcut(QKeySequence::Undo);
  undo_->setShortcutContext(Qt::ApplicationShortcut);
  const auto enableUndo = [this, &model] { undo_->setEnabled(!model.busy()); };
  connect(&model, &AppModel::busyChanged, this, enableUndo);
  enableUndo();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace tessel
