// The host's window: its size, its menu command, closing, and how it looks (screenshots).
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

#include "WindowTestSession.h"
#include "application/MainWindow.h"
#include "window/DisclosureGroup.h"

namespace tessel::testing {
namespace {

class MainWindowTest : public WindowTestSession {
 protected:
  MainWindow& open() {
    window = std::make_unique<MainWindow>(*model, windowEnvironment([] { return true; }));
    window->show();
    return *window;
  }

  // A window as a user who has used Tessel for a while sees it.
  void furnish() {
    addFavorites({"Archive", "Clients/Invoices 2026", "Photos"});
    HostSettings settings = model->settings();
    settings.recent = {homePath("Archive/2026"), homePath("Photos"), "/media/backup/Projects"};
    model->setSettings(settings);
    model->setSelectedSources(
        {fileUrl(temp.file("home/Inbox/report.pdf")), fileUrl(temp.file("home/Inbox/notes.txt"))});
    for (const char* group : {"manualMoveGroup", "recentGroup", "helpGroup"}) {
      window->findChild<DisclosureGroup*>(QString::fromLatin1(group))->setExpanded(true);
    }
  }

  void screenshot(const char* name) {
    window->resize(760, 1040);
    flushDeletions();
    QCoreApplication::processEvents();
    save(window->grab(), name);
  }

  // The Files extension's set-up dialog as the help group's button opens it.
  void setUpScreenshot(const char* name) {
    window->findChild<QPushButton*>(QStringLiteral("extensionSettingsButton"))->click();
    auto* dialog = window->findChild<QMessageBox*>(QStringLiteral("extensionSetup"));
    ASSERT_NE(dialog, nullptr);
    QCoreApplication::processEvents();
    save(dialog->grab(), name);
    dialog->close();
  }

  static void save(const QPixmap& image, const char* name) {
    const QString folder = QStringLiteral(TESSEL_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + "/" + name + ".png"));
  }

  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheWindowIsAtLeast760By590AndClosingOnlyHidesIt) {
  start();
  open();
  EXPECT_EQ(window->minimumSize(), QSize(760, 590));
  QCloseEvent close;
  QCoreApplication::sendEvent(window.get(), &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, UndoLastMoveIsControlZAndOffWhileBusy) {
  start();
  addFavorites({"Archive"});
  open();
  QAction* undo = window->undoAction();
  EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_TRUE(undo->isEnabled());
  const std::string file = temp.file("home/a.txt", "a");
  startHeldMove(file);
  EXPECT_FALSE(undo->isEnabled());
  finishHeldMove();
  EXPECT_TRUE(undo->isEnabled());
  undo->trigger();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(platform.fileExists(file));
  EXPECT_EQ(model->status(), "Undid 1 moves.");
}

TEST_F(MainWindowTest, ScreenshotsInBothLanguagesAndWhileBusy) {
  {
    start();
    open();
    furnish();
    model->setStatus("Moved 2, skipped 0. ");
    screenshot("window-en");
    setUpScreenshot("extension-setup-en");
    window.reset();
  }
  {
    ScopedLanguage japanese("ja");
    start();
    open();
    furnish();
    model->setStatus("2件移動、0件スキップ。");
    model->setExtensionEnabled(false);
    temp.file(std::string("home/") + kUserModule);
    screenshot("window-ja");
    setUpScreenshot("extension-setup-ja");
    window.reset();
  }
  start();
  open();
  furnish();
  startHeldMove(temp.file("home/Inbox/big.iso", "iso"));
  screenshot("window-busy");
  EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("undoMoveButton"))->isEnabled());
  finishHeldMove();
}

}  // namespace
}  // namespace tessel::testing
