// Moves and undo through the model, by hand and by the file manager's requests: status texts,
// completions, the busy guard, the recent list, and the roots handed to the engine in each
// build. A wake-up URL names a stored request, which is consumed and carried out; failures of
// moves and undos bring the window forward.
#include <cerrno>

#include "HostHarness.h"
#include "core/Errors.h"

namespace tessel::testing {
namespace {

class MoveTest : public HostHarness {
 protected:
  void SetUp() override {
    HostSettings settings = favoritesAt({archive});
    if (store) {
      platform.writeInfo(false);
      settings.roots = {grantFor(temp.folder("home/Downloads"))};
    }
    writeSettings(settings);
    start();
  }

  // Stores a request as the extension would and returns its wake-up URL.
  QString enqueue(std::vector<std::string> sources, const std::string& destination,
                  std::optional<std::string> operation = std::nullopt) {
    const MoveRequest request =
        MoveRequest::make(std::move(sources), destination, true, std::move(operation), platform);
    SharedContainer::enqueue(request, platform);
    lastRequestFile = SharedContainer::requestPath(platform.container, request.id);
    return QString::fromStdString("tessel://move/" + request.id.string());
  }

  bool store = false;
  std::string archive = temp.folder("home/Archive");
  std::string lastRequestFile;
};

// The recent list keeps 20, the latest first, and takes any destination that received an item;
// a move is complete only when every item arrived.
TEST_F(MoveTest, AnyMovedItemMakesARecentDestinationAndOnlyACompleteMoveSucceeds) {
  HostSettings settings = model->settings();
  for (int i = 0; i < 20; ++i)
    settings.recent.push_back(temp.folder("home/Archive/r" + std::to_string(i)));
  model->setSettings(settings);
  const std::string there = temp.file("home/Archive/c.txt");
  EXPECT_EQ(
      moveAndWait({temp.file("home/Inbox/a.txt"), there, temp.file("home/Inbox/b.txt")}, archive),
      false);
  EXPECT_EQ(status(), "Moved 2, skipped 1. ");
  platform.failWhere(FileOperation::move, "/e.txt", EACCES);
  EXPECT_EQ(moveAndWait({temp.file("home/Inbox/d.txt"), temp.file("home/Inbox/e.txt")},
                        settings.recent[4]),
            false);
  EXPECT_EQ(status().rfind("Moved 1, skipped 0. Stopped: ", 0), 0u) << status();
  EXPECT_NE(status().find("Permission denied"), std::string::npos);
  std::vector<std::string> expected{settings.recent[4], archive};
  for (int i = 0; i < 19; ++i)
    if (i != 4) expected.push_back(settings.recent[i]);
  EXPECT_EQ(model->settings().recent, expected);
}

// Refusals go to the status line, and to the caller who handed the request over; the window
// stays hidden.
TEST_F(MoveTest, UnusableRequestsAndFoldersOutsideEveryFavoriteAreOnlyReported) {
  // The reason handleURL answers with: the status line it set.
  const auto refusal = [this](const QString& url) {
    const std::optional<QString> reason = model->handleURL(url);
    EXPECT_EQ(reason.value_or("(taken up)").toStdString(), status());
    return status();
  };
  const QString url = enqueue({}, archive, "settings");
  EXPECT_EQ(model->handleURL(url + "/more"), std::nullopt);  // names no request
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(refusal(url), "Unknown operation.");
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_NE(refusal(url).find("No such file or directory"), std::string::npos);  // consumed
  platform.fixedNow = platform.now() - 600;
  const QString expired = enqueue({temp.file("home/a.txt")}, archive);
  platform.fixedNow.reset();
  EXPECT_EQ(refusal(expired), "The move request has expired.");
  EXPECT_TRUE(platform.fileExists(lastRequestFile));

  // Folders open, directly or by request, only inside a favourite.
  const std::string sub = temp.folder("home/Archive/2026");
  model->openFolder(QString::fromStdString(archive + "/2026/../2026"));
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(sub)});
  for (const std::string& path :
       {temp.folder("home/Outside"), archive + "/deleted", temp.file("home/Archive/file.txt")}) {
    EXPECT_EQ(refusal(enqueue({}, path, "openFolder")),
              "Cannot open the registered destination folder.")
        << path;
  }
  desktop.openSucceeds = false;
  EXPECT_THROW(model->openFolder(QString::fromStdString(sub)), TesselError);
  EXPECT_EQ(refusal(enqueue({}, archive, "openFolder")),
            "Could not open the folder in the file manager.");
  EXPECT_EQ(desktop.windowsHidden + desktop.broughtForward, 0);
}

// A request is consumed when it arrives. While a move runs it is answered at once; afterwards it
// is carried out, and only a failure brings the window forward.
TEST_F(MoveTest, RequestsAreAnsweredAtOnceWhileAMoveRunsAndOnlyFailuresShowTheWindow) {
  const std::string b = temp.file("home/Inbox/b.txt");
  startHeldMove(temp.file("home/Inbox/a.txt"));
  const QString inProgress = "A move is in progress. Try again when it finishes.";
  EXPECT_EQ(model->handleURL(enqueue({b}, archive)), inProgress);
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_EQ(status(), inProgress.toStdString());
  EXPECT_EQ(std::pair(desktop.windowsHidden, desktop.broughtForward), std::pair(1, 1));
  // An undo is refused for the same reason, and leaves the status line alone.
  model->setStatus("");
  EXPECT_EQ(model->handleURL(enqueue({}, "", "undo")), inProgress);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(desktop.broughtForward, 2);
  EXPECT_EQ(model->handleURL(enqueue({}, archive, "openFolder")), std::nullopt);
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(archive)});
  model->addFolder(fileUrl(temp.folder("home/Inbox")), true);
  EXPECT_EQ(model->settings().favorites.size(), 1u);
  finishHeldMove();

  for (const auto& [url, outcome, forward] : std::vector<std::tuple<QString, std::string, int>>{
           {enqueue({b}, archive), "Moved 1, skipped 0. ", 2},
           {enqueue({archive + "/b.txt"}, archive, "move"), "Moved 0, skipped 1. ", 3},
           {enqueue({}, "", "undo"), "Undid 1 moves.", 3}}) {
    EXPECT_EQ(model->handleURL(url), std::nullopt) << outcome;  // taken up
    ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
    EXPECT_EQ(std::pair(status(), desktop.broughtForward), std::pair(outcome, forward));
  }
  EXPECT_TRUE(platform.fileExists(b));
}

// A "choose" request asks for the chooser with its items and hides no window, unless a move of
// them would be refused at once; then the caller hears why and the window comes forward.
TEST_F(MoveTest, AChooseRequestAsksForTheChooserUnlessAMoveOfItsItemsWouldBeRefused) {
  const std::string a = temp.file("home/Inbox/a.txt");
  EXPECT_EQ(model->handleURL(enqueue({a, archive}, "", "choose")), std::nullopt);
  EXPECT_EQ(desktop.choices, (std::vector<std::vector<std::string>>{{a, archive}}));
  EXPECT_EQ(std::pair(desktop.windowsHidden, desktop.broughtForward), std::pair(0, 0));

  const QString empty = "Select between 1 and 1,000 files.";
  EXPECT_EQ(model->handleURL(enqueue({}, "", "choose")), empty);
  startHeldMove(temp.file("home/Inbox/b.txt"));
  const QString inProgress = "A move is in progress. Try again when it finishes.";
  EXPECT_EQ(model->handleURL(enqueue({a}, "", "choose")), inProgress);
  EXPECT_EQ(status(), inProgress.toStdString());
  EXPECT_EQ(desktop.choices.size(), 1u);
  EXPECT_EQ(std::pair(desktop.windowsHidden, desktop.broughtForward), std::pair(0, 2));
}

struct StoreMoveTest : MoveTest {
  StoreMoveTest() { store = true; }
};

TEST_F(StoreMoveTest, ServicesItemsMayLeaveTheirOwnFoldersAndComeBackOnUndo) {
  EXPECT_EQ(publishedMenu().roots, (std::vector<std::string>{homePath("Downloads")}));
  // A grant the model never opened is refused even though its folder is fine.
  EXPECT_THROW(model->resolveGrant(grantFor(temp.folder("home/Other"))), TesselError);
  EXPECT_EQ(moveAndWait({temp.file("home/Downloads/a.txt")}, archive), true);
  const std::string b = temp.file("home/Desktop/b.txt");
  const std::string c = temp.file("home/Other/c.txt");
  model->acceptServiceSources({fileUrl(b), fileUrl(c)});

  // Only some of the received items: no service roots, so the engine refuses them, and the
  // settings stay as they were.
  const HostSettings before = model->settings();
  EXPECT_EQ(moveAndWait({b}, archive), false);
  EXPECT_TRUE(platform.fileExists(b));
  EXPECT_EQ(model->settings(), before);

  EXPECT_EQ(moveAndWait({c, b}, archive), true);
  EXPECT_EQ(undoAndWait(), true);
  EXPECT_TRUE(platform.fileExists(b) && platform.fileExists(c));
}

}  // namespace
}  // namespace tessel::testing
