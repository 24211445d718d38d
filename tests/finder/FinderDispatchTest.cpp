#include <map>

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
                                kUndo = 13, kSettings = 14;

  std::unique_ptr<FinderSync> finderSync = makeFinderSync();
};

TEST_F(FinderDispatchTest, AMoveStoresTheSelectionThenWakesTheHostWithItsIdentifierOnly) {
  finder.setSelection(std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"});
  const double before = Timestamp::now().sinceReferenceDate;
  finderSync->execute(kMoveHere2026);

  const std::vector<MoveRequest> stored = storedRequests();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].sources, (std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"}));
  EXPECT_EQ(stored[0].destination, "/home/a/Archive/2026");
  EXPECT_TRUE(stored[0].hierarchical);
  EXPECT_EQ(stored[0].operation, std::nullopt);
  EXPECT_GE(stored[0].created.sinceReferenceDate, before);
  // The file is named exactly after the identifier that the host is given.
  EXPECT_TRUE(platform.fileExists(SharedContainer::requestPath(container(), stored[0].id)));
  EXPECT_EQ(workspace.calls(),
            std::vector<std::string>{"/opt/tessel/bin/tessel --background-command tessel://move/" +
                                     stored[0].id.string()});
  EXPECT_TRUE(platform.logged().empty());
}

TEST_F(FinderDispatchTest, AMoveWhoseSelectionVanishedSendsNothing) {
  for (const auto& selection :
       {std::optional<std::vector<std::string>>{}, std::optional(std::vector<std::string>{})}) {
    finder.setSelection(selection);
    finderSync->execute(kFavoriteArchive);
  }
  EXPECT_EQ(platform.logged(), std::vector<std::string>(2, "Tessel selection unavailable"));
  EXPECT_TRUE(storedRequests().empty());
  EXPECT_TRUE(workspace.calls().empty());
}

TEST_F(FinderDispatchTest, OtherCommandsIgnoreTheSelectionAndEachChoiceIsANewRequest) {
  finderSync->execute(kOpenFolder2026);
  finderSync->execute(kUndo);
  finderSync->execute(kUndo);
  finderSync->execute(kSettings);
  std::map<std::string, std::vector<MoveRequest>> stored;
  for (const MoveRequest& request : storedRequests()) stored[*request.operation].push_back(request);
  ASSERT_EQ(stored["openFolder"].size(), 1u);
  const MoveRequest& open = stored["openFolder"][0];
  EXPECT_EQ(open.destination, "/home/a/Archive/2026");
  EXPECT_TRUE(open.hierarchical);
  EXPECT_TRUE(open.sources.empty());
  ASSERT_EQ(stored["undo"].size(), 2u);
  for (const MoveRequest& undo : stored["undo"]) {
    EXPECT_EQ(undo.destination, "");
    EXPECT_FALSE(undo.hierarchical);
  }
  EXPECT_NE(stored["undo"][0].id, stored["undo"][1].id);
  // Settings stores nothing: it opens the host as the user would.
  ASSERT_EQ(workspace.calls().size(), 4u);
  EXPECT_EQ(workspace.calls()[3], "open /opt/tessel/bin/tessel");
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
  EXPECT_EQ(workspace.calls(), std::vector<std::string>(3, "open /opt/tessel/bin/tessel"));
}

TEST_F(FinderDispatchTest, AHostThatCannotStartIsLoggedAndTheRequestStays) {
  workspace.failure = "Cannot start \"/opt/tessel/bin/tessel\": No such file or directory";
  finderSync->execute(kUndo);
  EXPECT_EQ(platform.logged(),
            std::vector<std::string>{"Tessel host launch failed: Cannot start "
                                     "\"/opt/tessel/bin/tessel\": No such file or directory"});
  EXPECT_EQ(storedRequests().size(), 1u);
  EXPECT_EQ(workspace.calls().size(), 1u);
}

}  // namespace
}  // namespace tessel::testing
