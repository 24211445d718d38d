// The host's window: its size, its menu command, and closing.
#include <QAction>
#include <QCloseEvent>

#include "WindowTestSession.h"
#include "application/MainWindow.h"

namespace tessel::testing {
namespace {

using MainWindowTest = WindowTestSession;

TEST_F(MainWindowTest, ClosingOnlyHidesAndUndoLastMoveIsControlZAndOffWhileBusy) {
  start();
  addFavorites({"Archive"});
  MainWindow window(*model, windowEnvironment([] { return true; }));
  window.show();
  EXPECT_EQ(window.minimumSize(), QSize(760, 590));
  QAction* undo = window.undoAction();
  EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_TRUE(undo->isEnabled());
  const std::string file = temp.file("home/a.txt", "a");
  startHeldMove(file);
  EXPECT_FALSE(undo->isEnabled());
  finishHeldMove();
  undo->trigger();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(platform.fileExists(file));
  EXPECT_EQ(status(), "Undid 1 moves.");
  QCloseEvent close;
  QCoreApplication::sendEvent(&window, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace tessel::testing
