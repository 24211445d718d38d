#include "FinderTestSession.h"
#include "container/SharedContainer.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

class FinderDispatchTest : public FinderTestSession {
 protected:
  FinderDispatchTest() {
    publish(sampleSnapshot());
    finderSync->buildMenu();
  }

  // Tags of the sample menu.
  static constexpr std::int64_t kFavoriteArchive = 1, kMoveHere2026 = 5, kOpenFolder2026 = 6,
                                kRecent2026 = 12, kUndo = 13, kSettings = 14;

  std::unique_ptr<FinderSync> finderSync = makeFinderSync();

  MoveRequest onlyRequest() {
    const std::vector<MoveRequest> stored = storedRequests();
    EXPECT_EQ(stored.size(), 1u);
    return stored.empty() ? MoveRequest{} : stored.front();
  }
};

TEST_F(FinderDispatchTest, AMoveStoresTheSelectionThenWakesTheHostWithItsIdentifierOnly) {
  finder.setSelection(std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"});
  const double before = Timestamp::now().sinceReferenceDate;
  finderSync->execute(kMoveHere2026);

  const MoveRequest request = onlyRequest();
  EXPECT_EQ(request.sources, (std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"}));
  EXPECT_EQ(request.destination, "/home/a/Archive/2026");
  EXPECT_TRUE(request.hierarchical);
  EXPECT_EQ(request.operation, std::nullopt);
  EXPECT_GE(request.created.sinceReferenceDate, before);
  EXPECT_TRUE(platform.fileExists(SharedContainer::requestPath(container(), request.id)));

  ASSERT_EQ(workspace.opens().size(), 1u);
  const RecordingWorkspace::Open open = workspace.opens().front();
  EXPECT_EQ(open.urls, std::vector<std::string>{"tessel://move/" + request.id.string()});
  EXPECT_EQ(open.application, "/opt/tessel/bin/tessel");
  EXPECT_EQ(open.arguments, std::vector<std::string>{"--background-command"});
  EXPECT_TRUE(platform.logged().empty());
}

TEST_F(FinderDispatchTest, FavouritesAndRecentDestinationsSendTheirHierarchicalFlag) {
  finder.setSelection(std::vector<std::string>{"/home/a/x"});
  finderSync->execute(kFavoriteArchive);
  EXPECT_FALSE(onlyRequest().hierarchical);
  SharedContainer::consume(onlyRequest().id, platform);
  finderSync->execute(kRecent2026);
  EXPECT_TRUE(onlyRequest().hierarchical);
}

TEST_F(FinderDispatchTest, AMoveWhoseSelectionVanishedSendsNothing) {
  for (const auto& selection :
       {std::optional<std::vector<std::string>>{}, std::optional(std::vector<std::string>{})}) {
    finder.setSelection(selection);
    finderSync->execute(kFavoriteArchive);
  }
  EXPECT_EQ(platform.logged(), std::vector<std::string>(2, "Tessel selection unavailable"));
  EXPECT_TRUE(storedRequests().empty());
  EXPECT_TRUE(workspace.opens().empty());
}

TEST_F(FinderDispatchTest, OpenFolderAndUndoIgnoreTheSelectionAndEachSendANewRequest) {
  finderSync->execute(kOpenFolder2026);
  const MoveRequest open = onlyRequest();
  EXPECT_EQ(open.operation, "openFolder");
  EXPECT_TRUE(open.sources.empty());
  EXPECT_EQ(open.destination, "/home/a/Archive/2026");
  EXPECT_TRUE(open.hierarchical);
  SharedContainer::consume(open.id, platform);

  finderSync->execute(kUndo);
  finderSync->execute(kUndo);
  const std::vector<MoveRequest> undos = storedRequests();
  ASSERT_EQ(undos.size(), 2u);
  EXPECT_NE(undos[0].id, undos[1].id);
  for (const MoveRequest& undo : undos) {
    EXPECT_EQ(undo.operation, "undo");
    EXPECT_EQ(undo.destination, "");
    EXPECT_FALSE(undo.hierarchical);
  }
  EXPECT_EQ(workspace.opens().size(), 3u);
}

TEST_F(FinderDispatchTest, SettingsOpensTheHostAndStoresNothing) {
  finderSync->execute(kSettings);
  EXPECT_EQ(workspace.applicationsOpened(), std::vector<std::string>{"/opt/tessel/bin/tessel"});
  EXPECT_TRUE(storedRequests().empty());
  EXPECT_TRUE(workspace.opens().empty());
}

TEST_F(FinderDispatchTest, AnItemOutlivedBy8192LaterCommandsNoLongerWorks) {
  MenuItem later;
  // The settings item already came after undo: 8191 later commands in all.
  for (int i = 0; i < 8190; ++i) finderSync->registerCommand(Command{Command::Settings{}}, later);
  finderSync->execute(kUndo);
  EXPECT_EQ(storedRequests().size(), 1u);

  finderSync->registerCommand(Command{Command::Settings{}}, later);
  finderSync->execute(kUndo);
  finderSync->execute(-1);
  EXPECT_EQ(platform.logged(), (std::vector<std::string>{"Tessel command unavailable (tag 13)",
                                                         "Tessel command unavailable (tag -1)"}));
  EXPECT_EQ(storedRequests().size(), 1u);
}

TEST_F(FinderDispatchTest, WithoutAContainerTheFailureIsLoggedAndTheHostOpened) {
  setGroup("..");
  finder.setSelection(std::vector<std::string>{"/home/a/x"});
  for (const std::int64_t tag : {kOpenFolder2026, kUndo, kFavoriteArchive})
    finderSync->execute(tag);
  EXPECT_EQ(platform.logged(),
            std::vector<std::string>(3,
                                     "Tessel request failed: Cannot open the App Group. Check "
                                     "signing and provisioning settings."));
  EXPECT_EQ(workspace.applicationsOpened().size(), 3u);
  EXPECT_TRUE(workspace.opens().empty());
}

TEST_F(FinderDispatchTest, AHostThatCannotStartIsLoggedAndTheRequestStays) {
  workspace.failure = "Cannot start \"/opt/tessel/bin/tessel\": No such file or directory";
  finderSync->execute(kUndo);
  EXPECT_EQ(platform.logged(),
            std::vector<std::string>{"Tessel host launch failed: Cannot start "
                                     "\"/opt/tessel/bin/tessel\": No such file or directory"});
  EXPECT_EQ(storedRequests().size(), 1u);
  EXPECT_TRUE(workspace.applicationsOpened().empty());
}

}  // namespace
}  // namespace tessel::testing
