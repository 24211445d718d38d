// The delegate: launch modes, the wake-up URL, and the Services entry; the host's window: its
// size, its menu command, and closing.
#include <QAction>
#include <QCloseEvent>
#include <QWidget>

#include "WindowTestSession.h"
#include "application/LaunchCommand.h"
#include "application/MainWindow.h"
#include "application/TesselServices.h"

namespace tessel::testing {
namespace {

using Policy = Presentation::Policy;

class TesselServicesTest : public WindowTestSession {
 protected:
  TesselServicesTest() { presentation.addWindow(&window); }

  TesselServices& launch(const QStringList& arguments = {}) {
    services = std::make_unique<TesselServices>(arguments, presentation);
    services->applicationWillFinishLaunching();
    services->applicationDidFinishLaunching();
    return *services;
  }
  // The window's content appears, as the window group shows it at start-up.
  void appear() {
    start(&presentation);
    if (!services->backgroundLaunch) presentation.showMainWindow();
    services->contentAppeared(*model);
    flushEvents();
  }
  // A host started in the background by the file manager, with these favourites.
  void launchInBackground(const std::vector<std::string>& favorites) {
    launch({"--background-command"});
    appear();
    addFavorites(favorites);
    flushEvents();
  }
  QList<QUrl> files(int count) {
    std::vector<std::string> paths;
    for (int index = 0; index < count; ++index)
      paths.push_back(temp.file("home/Inbox/f" + std::to_string(index) + ".txt", "x"));
    return fileUrls(paths);
  }
  void settle() {
    waitUntil([this] { return !model->busy(); });
    flushEvents();
  }
  using Shown = std::pair<bool, Policy>;
  // Whether the window shows, and how the host presents itself.
  Shown shown() const { return {window.isVisible(), presentation.policy()}; }
  static void flushEvents() {
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
  }

  QWidget window;
  Presentation presentation;
  std::unique_ptr<TesselServices> services;
};

// An ordinary launch shows the window, and reopening brings it back from the background; a
// background launch shows it only for items that need a destination.
TEST_F(TesselServicesTest, TheLaunchDecidesWhetherTheWindowShowsAndReopenBringsItBack) {
  launch();
  appear();
  EXPECT_EQ(shown(), Shown(true, Policy::regular));
  services->enterBackground();
  EXPECT_EQ(shown(), Shown(false, Policy::accessory));
  EXPECT_TRUE(services->applicationShouldHandleReopen(false));
  EXPECT_EQ(shown(), Shown(true, Policy::regular));
  EXPECT_FALSE(presentation.hidden());
  EXPECT_TRUE(services->applicationShouldHandleReopen(true));
  services->enterBackground();
  for (const bool items : {false, true}) {
    launch({"--background-command"});
    EXPECT_EQ(presentation.policy(), Policy::accessory);
    if (items) services->moveFiles(files(1), std::nullopt);
    appear();
    EXPECT_EQ(window.isVisible(), items);
    EXPECT_EQ(presentation.hidden(), !items);
    EXPECT_EQ(services->model, model.get());
  }
}

TEST_F(TesselServicesTest, EveryWakeUpUrlSendsTheHostToTheBackgroundAndOnlyGoodOnesAreCarriedOut) {
  launch();
  appear();
  const QString status = model->status();
  const QString request = "tessel://move/5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B";
  // Accepted, with a query, the request it names is looked for (and is not there).
  for (const QString& url : {QString("tessel://move/not-a-uuid"), QString(), request + "?x=1"}) {
    presentation.showMainWindow();
    services->openURL(url);
    flushEvents();
    EXPECT_EQ(shown(), Shown(false, Policy::accessory)) << url.toStdString();
    EXPECT_EQ(model->status() == status, !url.startsWith(request)) << url.toStdString();
  }
  // A failure that reveals the window before the wake-up's queued hide runs keeps it in front.
  services->openURL(request);
  presentation.bringForward();
  flushEvents();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(presentation.hidden());
}

TEST_F(TesselServicesTest, ItemsBeforeTheWindowWaitForItTheLatestBatchOnlyAndNoFileIsAnError) {
  launch();
  EXPECT_EQ(services->moveFiles(files(1), QString("favorite:0")), std::nullopt);
  for (const QList<QUrl>& nothing : {QList<QUrl>{}, QList<QUrl>{QUrl("https://example.com/a")}}) {
    EXPECT_EQ(services->moveFiles(nothing, std::nullopt),
              "Could not receive files from the file manager.");
  }
  EXPECT_EQ(services->pendingSources, files(1));
  EXPECT_EQ(services->pendingFavoriteIndex, 0);
  const QList<QUrl> second = fileUrls({temp.file("home/b.txt"), temp.file("home/c.txt")});
  services->moveFiles(second, QString("favorite:"));
  appear();
  EXPECT_TRUE(services->pendingSources.isEmpty());
  EXPECT_EQ(model->selectedSources(), second);
  EXPECT_EQ(status(), "Received 2 items from the file manager. Choose a destination.");
  EXPECT_TRUE(window.isVisible());
}

// Favourites are named counting from one in what the user reads.
TEST_F(TesselServicesTest, AFavouriteEntryMovesInTheBackgroundAndAFailureShowsTheWindow) {
  launchInBackground({"Archive", "Photos"});
  services->moveFiles(files(2), QString("favorite:+1"));
  settle();
  EXPECT_TRUE(platform.fileExists(homePath("Photos/f1.txt")));
  EXPECT_EQ(status(), "Moved 2, skipped 0. ");
  EXPECT_FALSE(window.isVisible());

  // Names that already sit there, under the skip policy: nothing moves, so the window shows.
  HostSettings settings = model->settings();
  settings.policy = ConflictPolicy::skip;
  model->setSettings(settings);
  services->moveFiles(files(2), QString("favorite:1"));
  settle();
  EXPECT_EQ(status(), "Moved 0, skipped 2. ");
  EXPECT_TRUE(window.isVisible());

  for (const auto& [userData, shown] : std::vector<std::pair<QString, std::string>>{
           {"favorite:-1", "0"},
           {"favorite:2", "3"},
           {"favorite:9223372036854775807", "9223372036854775808"}}) {
    services->enterBackground();
    services->moveFiles(files(1), userData);
    EXPECT_EQ(status(), "Favorite " + shown + " is not registered. Add a destination first.");
    EXPECT_EQ(model->selectedSources(), files(1));
    EXPECT_TRUE(window.isVisible());
  }

  // Items that arrive while a move runs are dropped.
  startHeldMove(temp.file("home/held.txt"));
  services->moveFiles(files(1), QString("favorite:0"));
  EXPECT_EQ(status(), "A move is in progress. Select this again when it finishes.");
  EXPECT_TRUE(services->pendingSources.isEmpty());
  finishHeldMove();
  EXPECT_FALSE(platform.fileExists(homePath("Archive/f0.txt")));
}

TEST_F(TesselServicesTest, OnlyABuildThatIsNotDistributedDirectlyOffersTheServicesEntry) {
  ::setenv("TESSEL_INFO_FILE",
           temp.file("direct.json", R"({"TesselDirectDistribution":true})").c_str(), 1);
  EXPECT_FALSE(launch().servicesRegistered());
  ::setenv("TESSEL_INFO_FILE", temp.file("store.json", "{}").c_str(), 1);
  EXPECT_TRUE(launch().servicesRegistered());
  ::unsetenv("TESSEL_INFO_FILE");
}

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
