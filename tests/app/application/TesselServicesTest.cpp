// The delegate: launch modes and the Services entry; the host's window: its menu command, and
// closing.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

#include "HostHarness.h"
#include "application/MainWindow.h"
#include "application/TesselServices.h"

namespace tessel::testing {
namespace {

using Policy = Presentation::Policy;

class TesselServicesTest : public HostHarness {
 protected:
  TesselServicesTest() { presentation.addWindow(&window); }

  void launch(const QStringList& arguments = {}) {
    services = std::make_unique<TesselServices>(arguments, presentation);
    services->applicationWillFinishLaunching();
    services->applicationDidFinishLaunching();
  }
  // The window's content appears, as the window group shows it at start-up.
  void appear() {
    start(&presentation);
    if (!services->backgroundLaunch) presentation.showMainWindow();
    services->contentAppeared(*model);
    settle();
  }
  QList<QUrl> files(int count) {
    QList<QUrl> urls;
    for (int i = 0; i < count; ++i)
      urls << fileUrl(temp.file("home/Inbox/f" + std::to_string(i) + ".txt", "x"));
    return urls;
  }
  using Shown = std::pair<bool, Policy>;
  // Whether the window shows, and how the host presents itself.
  Shown shown() const { return {window.isVisible(), presentation.policy()}; }
  // Any move done and its outcome shown.
  void settle() {
    waitUntil([this] { return !model->busy(); });
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
  }

  QWidget window;
  Presentation presentation;
  std::unique_ptr<TesselServices> services;
};

// An ordinary launch shows the window, and reopening brings it back from the background; a
// background launch does not show it.
TEST_F(TesselServicesTest, TheLaunchDecidesWhetherTheWindowShowsAndReopenBringsItBack) {
  launch();
  appear();
  EXPECT_EQ(shown(), Shown(true, Policy::regular));
  services->enterBackground();
  EXPECT_EQ(shown(), Shown(false, Policy::accessory));
  EXPECT_TRUE(services->applicationShouldHandleReopen(false));
  EXPECT_EQ(shown(), Shown(true, Policy::regular));
  launch({"--background-command"});
  EXPECT_EQ(presentation.policy(), Policy::accessory);
  appear();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(presentation.hidden());
}

// Favourites are named counting from one in what the user reads.
TEST_F(TesselServicesTest, AFavouriteEntryMovesInTheBackgroundAndAFailureShowsTheWindow) {
  HostSettings settings = favoritesAt({temp.folder("home/Archive"), temp.folder("home/Photos")});
  settings.policy = ConflictPolicy::skip;
  writeSettings(settings);
  launch({"--background-command"});
  appear();
  services->moveFiles(files(2), QString("favorite:+1"));
  settle();
  EXPECT_TRUE(platform.fileExists(homePath("Photos/f1.txt")));
  EXPECT_FALSE(window.isVisible());

  // Names that already sit there, under the skip policy: nothing moves, so the window shows.
  services->moveFiles(files(2), QString("favorite:1"));
  settle();
  EXPECT_EQ(status(), "Moved 0, skipped 2. ");
  EXPECT_TRUE(window.isVisible());

  for (const auto& [userData, shown] : std::vector<std::pair<QString, std::string>>{
           {"favorite:-1", "0"}, {"favorite:9223372036854775807", "9223372036854775808"}}) {
    services->enterBackground();
    services->moveFiles(files(1), userData);
    EXPECT_EQ(status(), "Favorite " + shown + " is not registered. Add a destination first.");
    EXPECT_TRUE(window.isVisible());
  }

  // Items that arrive while a move runs are dropped.
  startHeldMove(temp.file("home/held.txt"));
  services->moveFiles(files(1), QString("favorite:0"));
  EXPECT_EQ(status(), "A move is in progress. Select this again when it finishes.");
  finishHeldMove();
  EXPECT_FALSE(platform.fileExists(homePath("Archive/f0.txt")));
}

TEST_F(TesselServicesTest, ClosingTheMainWindowOnlyHidesItAndItsMenuUndoesTheLastMove) {
  start();
  MainWindow main(*model, ContentEnvironment{desktop, {}, {}, [] { return true; }});
  main.show();
  main.undoAction()->trigger();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_EQ(status(), "Undid 0 moves.");
  QCloseEvent close;
  QCoreApplication::sendEvent(&main, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(main.isVisible());
}

}  // namespace
}  // namespace tessel::testing
