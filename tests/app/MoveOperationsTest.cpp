// Moves and undo through the model, by hand and by the file manager's requests: status texts,
// completions, the busy guard, the recent list, and the roots handed to the engine in each
// build. A wake-up URL names a stored request, which is consumed and carried out; failures of
// moves and undos bring the window forward.
#include <QThread>
#include <cerrno>

#include "HostHarness.h"
#include "core/Errors.h"
#include "model/WakeUpUrl.h"

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
  void handleAndWait(const QString& url) {
    model->handleURL(url);
    EXPECT_TRUE(waitUntil([&] { return !model->busy(); }));
  }

  bool store = false;
  std::string archive = temp.folder("home/Archive");
  std::string lastRequestFile;
};

TEST(WakeUpUrlTest, AcceptsOnlyTesselMoveAndOneIdentifier) {
  const std::string id = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
  const std::string move = "tessel://move/";
  EXPECT_EQ(wakeUpRequestId(move + id + "?x=1#y").value_or(Uuid{}).string(), id);
  EXPECT_TRUE(wakeUpRequestId(move + "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"));
  for (const std::string& rejected :
       {"TESSEL://move/" + id, "tessel://MOVE/" + id, "tessel://undo/" + id, "tessel:move/" + id,
        move + id + "/extra", move, std::string("tessel://move"), move + "not-a-uuid",
        "file:///move/" + id, move + "/" + id}) {
    EXPECT_FALSE(wakeUpRequestId(rejected)) << rejected;
  }
}

TEST_F(MoveTest, RequestsAreConsumedAndMovedOnTheWorkerThreadAndOnlyFailuresShowTheWindow) {
  EXPECT_EQ(undoAndWait(), std::optional<bool>(true));
  EXPECT_EQ(status(), "Undid 0 moves.");
  const std::string a = temp.file("home/Inbox/a.txt", "a");
  const std::string b = temp.file("home/Inbox/b.txt", "b");
  QString movingThread;
  platform.addRule([&movingThread](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::move)
      movingThread = QThread::currentThread()->objectName();
    return std::nullopt;
  });
  model->handleURL(enqueue({a, b}, archive));
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_EQ(desktop.windowsHidden, 1);
  ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
  EXPECT_EQ(movingThread, "Tessel.moves");
  EXPECT_EQ(status(), "Moved 2, skipped 0. ");
  EXPECT_TRUE(platform.fileExists(archive + "/a.txt"));
  EXPECT_EQ(storedSettings().recent, (std::vector<std::string>{archive}));
  EXPECT_EQ(publishedMenu().recent.size(), 1u);
  EXPECT_EQ(desktop.notifications, 3);
  EXPECT_NE(std::ranges::find(platform.logged, "Moving…"), platform.logged.end());
  EXPECT_EQ(desktop.broughtForward, 0);

  handleAndWait(enqueue({archive + "/a.txt"}, archive, "move"));
  EXPECT_EQ(status(), "Moved 0, skipped 1. ");
  EXPECT_EQ(desktop.broughtForward, 1);
  handleAndWait(enqueue({}, "", "undo"));
  EXPECT_EQ(status(), "Undid 2 moves.");
  EXPECT_TRUE(platform.fileExists(a) && platform.fileExists(b));
  EXPECT_EQ(desktop.broughtForward, 1);
}

TEST_F(MoveTest, SkippedOrFailedItemsMeanTheMoveIsNotComplete) {
  const std::string there = temp.file("home/Archive/c.txt");
  EXPECT_EQ(
      moveAndWait({temp.file("home/Inbox/a.txt"), there, temp.file("home/Inbox/b.txt")}, archive),
      std::optional<bool>(false));
  EXPECT_EQ(status(), "Moved 2, skipped 1. ");
  EXPECT_EQ(model->settings().recent, (std::vector<std::string>{archive}));

  platform.failWhere(FileOperation::move, "/e.txt", EACCES);
  EXPECT_EQ(moveAndWait({temp.file("home/Inbox/d.txt"), temp.file("home/Inbox/e.txt")}, archive),
            std::optional<bool>(false));
  EXPECT_EQ(status().rfind("Moved 1, skipped 0. Stopped: ", 0), 0u) << status();
  EXPECT_NE(status().find("Permission denied"), std::string::npos);
}

TEST_F(MoveTest, RecentDestinationMovesToTheFrontAndTheListKeeps20) {
  HostSettings settings = model->settings();
  for (int i = 0; i < 20; ++i)
    settings.recent.push_back(temp.folder("home/Archive/r" + std::to_string(i)));
  model->setSettings(settings);
  const std::string again = settings.recent[4];
  EXPECT_EQ(moveAndWait({temp.file("home/Inbox/a.txt")}, again), std::optional<bool>(true));
  std::vector<std::string> expected = settings.recent;
  expected.erase(expected.begin() + 4);
  expected.insert(expected.begin(), again);
  EXPECT_EQ(model->settings().recent, expected);

  EXPECT_EQ(moveAndWait({temp.file("home/Inbox/b.txt")}, archive), std::optional<bool>(true));
  ASSERT_EQ(model->settings().recent.size(), 20u);
  EXPECT_EQ(model->settings().recent.front(), archive);
  EXPECT_EQ(model->settings().recent.back(), expected[18]);
}

TEST_F(MoveTest, UnusableRequestsAreOnlyReported) {
  const QString url = enqueue({}, archive, "settings");
  model->handleURL(url + "/more");  // names no request
  EXPECT_EQ(status(), "Ready");
  model->handleURL(url);
  EXPECT_EQ(status(), "Unknown operation.");
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  model->handleURL(url);  // consumed
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
  platform.fixedNow = platform.now() - 600;
  const QString expired = enqueue({temp.file("home/a.txt")}, archive);
  platform.fixedNow.reset();
  model->handleURL(expired);
  EXPECT_EQ(status(), "The move request has expired.");
  EXPECT_TRUE(platform.fileExists(lastRequestFile));
  EXPECT_FALSE(model->busy());
  EXPECT_EQ(desktop.windowsHidden + desktop.broughtForward, 0);
  model->handleURL(enqueue({}, archive, "Move"));  // operations are matched exactly
  EXPECT_EQ(status(), "Unknown operation.");
}

TEST_F(MoveTest, WhileAMoveRunsRequestsAreAnsweredWithoutWaiting) {
  const std::string b = temp.file("home/Inbox/b.txt");
  startHeldMove(temp.file("home/Inbox/a.txt"));
  model->handleURL(enqueue({b}, archive));
  EXPECT_EQ(status(), "A move is in progress. Try again when it finishes.");
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_EQ(desktop.broughtForward, 1);
  model->setStatus("Moving…");
  model->handleURL(enqueue({}, "", "undo"));
  EXPECT_EQ(status(), "Moving…");
  EXPECT_EQ(desktop.broughtForward, 2);
  model->handleURL(enqueue({}, archive, "openFolder"));
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(archive)});
  model->addFolder(fileUrl(temp.folder("home/Inbox")), true);
  EXPECT_EQ(model->settings().favorites.size(), 1u);

  finishHeldMove();
  EXPECT_TRUE(platform.fileExists(b));
  EXPECT_EQ(desktop.broughtForward, 2);
}

TEST_F(MoveTest, OpensOnlyExistingFoldersInsideAFavorite) {
  const std::string sub = temp.folder("home/Archive/2026");
  model->openFolder(QString::fromStdString(archive + "/2026/../2026"));
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(sub)});
  const auto refusal = [&](const std::string& path) {
    try {
      model->openFolder(QString::fromStdString(path));
    } catch (const TesselError& error) {
      return std::string(error.what());
    }
    return std::string("opened");
  };
  for (const std::string& path :
       {temp.folder("home/Outside"), archive + "/deleted", temp.file("home/Archive/file.txt")}) {
    EXPECT_EQ(refusal(path), "Cannot open the registered destination folder.") << path;
  }
  desktop.openSucceeds = false;
  EXPECT_EQ(refusal(archive), "Could not open the folder in the file manager.");

  // By request, the failure goes to the status line and the window stays hidden.
  desktop.openSucceeds = true;
  model->handleURL(enqueue({}, temp.at("home/Outside"), "openFolder"));
  EXPECT_EQ(status(), "Cannot open the registered destination folder.");
  EXPECT_EQ(desktop.broughtForward, 0);
}

struct StoreMoveTest : MoveTest {
  StoreMoveTest() { store = true; }
};

TEST_F(StoreMoveTest, ServicesItemsMayLeaveTheirOwnFoldersAndComeBackOnUndo) {
  EXPECT_EQ(moveAndWait({temp.file("home/Downloads/a.txt")}, archive), std::optional<bool>(true));
  const std::string b = temp.file("home/Desktop/b.txt");
  const std::string c = temp.file("home/Other/c.txt");
  model->acceptServiceSources({fileUrl(b), fileUrl(c)});
  EXPECT_EQ(status(), "Received 2 items from the file manager. Choose a destination.");
  EXPECT_EQ(model->selectedSources(), (QList<QUrl>{fileUrl(b), fileUrl(c)}));
  EXPECT_EQ(model->selectedDestination().toStdString(), archive);

  // Only some of the received items: no service roots, so the engine refuses them, and the
  // settings stay as they were.
  const HostSettings before = model->settings();
  EXPECT_EQ(moveAndWait({b}, archive), std::optional<bool>(false));
  EXPECT_TRUE(platform.fileExists(b));
  EXPECT_EQ(model->settings(), before);

  EXPECT_EQ(moveAndWait({c, b}, archive), std::optional<bool>(true));
  EXPECT_TRUE(platform.fileExists(archive + "/b.txt"));
  EXPECT_EQ(undoAndWait(), std::optional<bool>(true));
  EXPECT_EQ(status(), "Undid 2 moves.");
  EXPECT_TRUE(platform.fileExists(b) && platform.fileExists(c));
  // The received items were used up by the move.
  EXPECT_EQ(moveAndWait({b}, archive), std::optional<bool>(false));
}

}  // namespace
}  // namespace tessel::testing
