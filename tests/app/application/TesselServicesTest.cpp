// The delegate: launch modes, the wake-up URL, and the Services entry.
#include <QWidget>
#include <limits>

#include "WindowTestSession.h"
#include "application/LaunchCommand.h"
#include "application/TesselServices.h"

namespace tessel::testing {
namespace {

class TesselServicesTest : public WindowTestSession {
 protected:
  explicit TesselServicesTest(bool direct = true) : WindowTestSession(direct) {
    presentation.addWindow(&window);
  }

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
  }

  std::vector<std::string> files(int count) {
    std::vector<std::string> paths;
    for (int index = 0; index < count; ++index) {
      paths.push_back(temp.file("home/Inbox/f" + std::to_string(index) + ".txt", "x"));
    }
    return paths;
  }

  void settle() {
    waitUntil([this] { return !model->busy(); });
    flushEvents();
  }
  static void flushEvents() {
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
  }

  QWidget window;
  Presentation presentation;
  std::unique_ptr<TesselServices> services;
};

TEST_F(TesselServicesTest, ABackgroundLaunchShowsTheWindowOnlyForItemsThatNeedADestination) {
  for (const bool items : {false, true}) {
    launch({"--background-command"});
    EXPECT_TRUE(services->backgroundLaunch);
    EXPECT_EQ(presentation.policy(), Presentation::Policy::accessory);
    if (items) services->moveFiles(fileUrls(files(1)), std::nullopt);
    appear();
    flushEvents();
    EXPECT_EQ(window.isVisible(), items);
    EXPECT_EQ(presentation.hidden(), !items);
    EXPECT_EQ(services->model, model.get());
  }
}

TEST_F(TesselServicesTest, AnOrdinaryLaunchShowsTheWindowAndReopenBringsItBack) {
  launch();
  EXPECT_FALSE(services->backgroundLaunch);
  appear();
  flushEvents();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(presentation.policy(), Presentation::Policy::regular);

  services->enterBackground();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(presentation.policy(), Presentation::Policy::accessory);
  EXPECT_TRUE(services->applicationShouldHandleReopen(false));
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(presentation.hidden());
  EXPECT_EQ(presentation.policy(), Presentation::Policy::regular);
  EXPECT_TRUE(services->applicationShouldHandleReopen(true));
}

TEST_F(TesselServicesTest, EveryWakeUpUrlSendsTheHostToTheBackgroundAndOnlyGoodOnesAreCarriedOut) {
  launch();
  appear();
  const QString status = model->status();
  for (const char* ignored : {"tessel://move/not-a-uuid", ""}) {
    presentation.showMainWindow();
    services->openURL(QString::fromLatin1(ignored));
    flushEvents();
    EXPECT_FALSE(window.isVisible()) << ignored;
    EXPECT_EQ(presentation.policy(), Presentation::Policy::accessory);
    EXPECT_EQ(model->status(), status) << ignored;
  }
  // Accepted, with a query: the request it names is looked for (and is not there).
  services->openURL("tessel://move/5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B?x=1");
  EXPECT_NE(model->status(), status);
  flushEvents();
  EXPECT_FALSE(window.isVisible());

  // A failure that reveals the window before the wake-up's queued hide runs keeps it in front.
  services->openURL("tessel://move/5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B");
  presentation.bringForward();
  flushEvents();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(presentation.hidden());
}

TEST_F(TesselServicesTest, NoFileReceivedIsAnErrorForTheCallerAndKeepsWhatWasPending) {
  launch();
  EXPECT_EQ(services->moveFiles({fileUrl(temp.file("home/a.txt"))}, QString("favorite:0")),
            std::nullopt);
  EXPECT_EQ(services->moveFiles({}, std::nullopt),
            "Could not receive files from the file manager.");
  EXPECT_EQ(services->moveFiles({QUrl("https://example.com/a")}, std::nullopt),
            "Could not receive files from the file manager.");
  EXPECT_EQ(services->pendingSources, QList<QUrl>{fileUrl(temp.at("home/a.txt"))});
  EXPECT_EQ(services->pendingFavoriteIndex, 0);
}

TEST_F(TesselServicesTest,
       ItemsThatArriveBeforeTheWindowAreDeliveredWhenItAppearsTheLatestBatchOnly) {
  launch();
  const std::vector<std::string> first = files(1);
  const std::vector<std::string> second = {temp.file("home/b.txt"), temp.file("home/c.txt")};
  services->moveFiles(fileUrls(first), std::nullopt);
  services->moveFiles(fileUrls(second), QString("favorite:"));
  EXPECT_EQ(services->pendingSources.size(), 2);
  appear();
  EXPECT_TRUE(services->pendingSources.isEmpty());
  EXPECT_EQ(model->selectedSources(), fileUrls(second));
  EXPECT_EQ(model->status(), "Received 2 items from the file manager. Choose a destination.");
  EXPECT_TRUE(window.isVisible());
}

TEST_F(TesselServicesTest, AFavouriteEntryMovesInTheBackgroundAndAFailedMoveShowsTheWindow) {
  launch({"--background-command"});
  appear();
  addFavorites({"Archive", "Photos"});
  flushEvents();
  const std::vector<std::string> items = files(2);
  services->moveFiles(fileUrls(items), QString("favorite:+1"));
  settle();
  EXPECT_TRUE(platform.fileExists(homePath("Photos/f0.txt")));
  EXPECT_TRUE(platform.fileExists(homePath("Photos/f1.txt")));
  EXPECT_EQ(model->status(), "Moved 2, skipped 0. ");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(services->pendingFavoriteIndex, std::nullopt);

  // Names that already sit there, under the skip policy: nothing moves, so the window shows.
  HostSettings settings = model->settings();
  settings.policy = ConflictPolicy::skip;
  model->setSettings(settings);
  services->moveFiles(fileUrls(files(2)), QString("favorite:1"));
  settle();
  EXPECT_EQ(model->status(), "Moved 0, skipped 2. ");
  EXPECT_TRUE(window.isVisible());
}

TEST_F(TesselServicesTest, ANameThatIsNotUtf8IsRefusedByItsBytesNeverMatchedToALookAlike) {
  launch({"--background-command"});
  appear();
  addFavorites({"Archive"});
  flushEvents();
  // The same name as a path and as a file URL, each beside its U+FFFD look-alike.
  for (const bool asUrl : {false, true}) {
    const std::string stem = asUrl ? "url" : "path";
    const std::string lookAlike = temp.file("home/Inbox/" + stem + "\xEF\xBF\xBD", "look-alike");
    const std::string bad = temp.file("home/Inbox/" + stem + "\xFF", "x");
    const QByteArray path = QByteArray::fromStdString(bad);
    const QByteArray argument = asUrl ? "file://" + path.toPercentEncoding("/") : path;
    const LaunchCommand command = LaunchCommand::parse({"--service", "favorite:0", argument}, "/");
    services->moveFiles(command.service->items, command.service->userData);
    settle();
    EXPECT_TRUE(platform.fileExists(lookAlike)) << stem;
    EXPECT_FALSE(platform.fileExists(homePath("Archive/" + stem + "\xEF\xBF\xBD"))) << stem;
    // The journal stores names as UTF-8, so such a name cannot be moved undoably: it stays,
    // and the message shows its bytes.
    EXPECT_TRUE(platform.fileExists(bad)) << stem;
    EXPECT_TRUE(model->status().contains(QString::fromStdString(stem + "\\xFF"))) << stem;
  }
}

TEST_F(TesselServicesTest, AFavouriteThatIsNotRegisteredIsNamedCountingFromOne) {
  launch({"--background-command"});
  appear();
  addFavorites({"Archive"});
  flushEvents();
  const QList<QUrl> items = fileUrls(files(1));
  const std::vector<std::pair<QString, std::string>> cases = {
      {"favorite:-1", "Favorite 0 is not registered. Add a destination first."},
      {"favorite:1", "Favorite 2 is not registered. Add a destination first."},
      {"favorite:9223372036854775807",
       "Favorite 9223372036854775808 is not registered. Add a destination first."}};
  for (const auto& [userData, message] : cases) {
    services->enterBackground();
    services->moveFiles(items, userData);
    EXPECT_EQ(model->status().toStdString(), message);
    EXPECT_EQ(model->selectedSources(), items);
    EXPECT_TRUE(window.isVisible());
  }
}

TEST_F(TesselServicesTest, ItemsThatArriveWhileAMoveRunsAreDropped) {
  launch({"--background-command"});
  appear();
  addFavorites({"Archive"});
  flushEvents();
  startHeldMove(temp.file("home/held.txt"));
  services->moveFiles(fileUrls(files(1)), QString("favorite:0"));
  EXPECT_EQ(model->status(), "A move is in progress. Select this again when it finishes.");
  EXPECT_TRUE(services->pendingSources.isEmpty());
  EXPECT_EQ(services->pendingFavoriteIndex, std::nullopt);
  EXPECT_TRUE(window.isVisible());
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

}  // namespace
}  // namespace tessel::testing
