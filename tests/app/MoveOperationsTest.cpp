// Moves and undo through the model: status texts, completions, the busy guard, the recent
// list, and the roots handed to the engine in each build.
#include <QThread>
#include <cerrno>

#include "HostHarness.h"

namespace tessel::testing {
namespace {

class MoveTest : public HostHarness {
 protected:
  void SetUp() override { writeSettings(favoritesAt({archive})); }

  std::string archive = temp.folder("home/Archive");
};

TEST_F(MoveTest, MovesOnTheWorkerThreadRecordsTheDestinationAndUndoesTheLastBatch) {
  start();
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
  EXPECT_EQ(moveAndWait({a, b}, archive), std::optional<bool>(true));
  EXPECT_EQ(movingThread, "Tessel.moves");
  EXPECT_EQ(status(), "Moved 2, skipped 0. ");
  EXPECT_TRUE(platform.fileExists(archive + "/a.txt"));
  EXPECT_EQ(storedSettings().recent, (std::vector<std::string>{archive}));
  EXPECT_EQ(publishedMenu().recent.size(), 1u);
  EXPECT_EQ(desktop.notifications, 3);
  EXPECT_NE(std::ranges::find(platform.logged, "Moving…"), platform.logged.end());

  EXPECT_EQ(undoAndWait(), std::optional<bool>(true));
  EXPECT_EQ(status(), "Undid 2 moves.");
  EXPECT_TRUE(platform.fileExists(a) && platform.fileExists(b));
  EXPECT_EQ(desktop.notifications, 4);
}

TEST_F(MoveTest, SkippedOrFailedItemsMeanTheMoveIsNotComplete) {
  start();
  const std::string a = temp.file("home/Inbox/a.txt");
  const std::string b = temp.file("home/Inbox/b.txt");
  const std::string there = temp.file("home/Archive/c.txt");
  EXPECT_EQ(moveAndWait({a, there, b}, archive), std::optional<bool>(false));
  EXPECT_EQ(status(), "Moved 2, skipped 1. ");
  EXPECT_EQ(model->settings().recent, (std::vector<std::string>{archive}));

  const std::string d = temp.file("home/Inbox/d.txt");
  const std::string e = temp.file("home/Inbox/e.txt");
  platform.failWhere(FileOperation::move, "/e.txt", EACCES);
  EXPECT_EQ(moveAndWait({d, e}, archive), std::optional<bool>(false));
  EXPECT_EQ(status().rfind("Moved 1, skipped 0. Stopped: ", 0), 0u) << status();
  EXPECT_NE(status().find("Permission denied"), std::string::npos);
}

TEST_F(MoveTest, RecentDestinationMovesToTheFrontAndTheListKeeps20) {
  HostSettings settings = storedSettings();
  for (int i = 0; i < 20; ++i)
    settings.recent.push_back(temp.folder("home/Archive/r" + std::to_string(i)));
  writeSettings(settings);
  start();

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

class StoreMoveTest : public StoreBuildHarness {
 protected:
  void SetUp() override {
    HostSettings settings = favoritesAt({archive});
    settings.roots = {grantFor(temp.folder("home/Downloads"))};
    writeSettings(settings);
  }

  std::string archive = temp.folder("home/Archive");
};

TEST_F(StoreMoveTest, ServicesItemsMayLeaveTheirOwnFoldersAndComeBackOnUndo) {
  start();
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
