// The host's window: its size, its menu command, closing, and how it looks (screenshots).
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "WindowTestSession.h"
#include "application/MainWindow.h"
#include "window/DisclosureGroup.h"

namespace tessel::testing {
namespace {

class MainWindowTest : public WindowTestSession {
 protected:
  void open() {
    window.reset();
    start();
    window = std::make_unique<MainWindow>(*model, windowEnvironment([] { return true; }));
    window->show();
  }

  // Saves the window, furnished as a user who has used Tessel for a while sees it, and the
  // Files extension's set-up dialog, as `<name>.png` and `<name>-setup.png`.
  void screenshots(const std::string& name) {
    addFavorites({"Archive", "Clients/Invoices 2026", "Photos"});
    HostSettings settings = model->settings();
    settings.recent = {homePath("Archive/2026"), homePath("Photos"), "/media/backup/Projects"};
    model->setSettings(settings);
    model->setSelectedSources(
        {fileUrl(temp.file("home/Inbox/report.pdf")), fileUrl(temp.file("home/Inbox/notes.txt"))});
    for (const char* group : {"manualMoveGroup", "recentGroup", "helpGroup"})
      window->findChild<DisclosureGroup*>(QString::fromLatin1(group))->setExpanded(true);
    window->resize(760, 1040);
    flushDeletions();
    QCoreApplication::processEvents();
    save(window->grab(), name);
    window->findChild<QPushButton*>(QStringLiteral("extensionSettingsButton"))->click();
    auto* dialog = window->findChild<QMessageBox*>(QStringLiteral("extensionSetup"));
    ASSERT_NE(dialog, nullptr);
    QCoreApplication::processEvents();
    save(dialog->grab(), name + "-setup");
    dialog->close();
  }
  static void save(const QPixmap& image, const std::string& name) {
    const QString folder = QStringLiteral(TESSEL_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + "/" + QString::fromStdString(name) + ".png"));
  }

  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ClosingOnlyHidesAndUndoLastMoveIsControlZAndOffWhileBusy) {
  open();
  EXPECT_EQ(window->minimumSize(), QSize(760, 590));
  addFavorites({"Archive"});
  QAction* undo = window->undoAction();
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
  QCoreApplication::sendEvent(window.get(), &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ScreenshotsInBothLanguagesAndWhileBusy) {
  open();
  model->setStatus("Moved 2, skipped 0. ");
  screenshots("window-en");
  {
    ScopedLanguage japanese("ja");
    temp.file(std::string("home/") + kUserModule);
    open();
    model->setExtensionEnabled(false);
    model->setStatus("2件移動、0件スキップ。");
    screenshots("window-ja");
  }
  open();
  startHeldMove(temp.file("home/Inbox/big.iso", "iso"));
  screenshots("window-busy");
  finishHeldMove();
}

}  // namespace
}  // namespace tessel::testing
