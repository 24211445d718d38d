#include <map>

#include "FinderTestSession.h"
#include "HostApplication.h"
#include "path/PathText.h"

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

TEST_F(FinderDispatchTest, EachCommandStoresItsRequestThenWakesTheHostWithItsIdentifierOnly) {
  finder.setSelection(std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"});
  const double before = Timestamp::now().sinceReferenceDate;
  for (const std::int64_t tag : {kMoveHere2026, kOpenFolder2026, kUndo}) finderSync->execute(tag);

  std::map<std::string, MoveRequest> stored;
  for (const MoveRequest& request : storedRequests()) {
    stored.emplace(request.operation.value_or("move"), request);
  }
  ASSERT_EQ(stored.size(), 3u);
  const MoveRequest &move = stored.at("move"), &open = stored.at("openFolder"),
                    &undo = stored.at("undo");
  EXPECT_EQ(move.sources, (std::vector<std::string>{"/home/a/b.txt", "/home/a/a.txt"}));
  EXPECT_EQ(move.destination, "/home/a/Archive/2026");
  EXPECT_TRUE(move.hierarchical);
  EXPECT_GE(move.created.sinceReferenceDate, before);
  // Opening a folder and undoing ignore the selection.
  EXPECT_EQ(std::tie(open.sources, open.destination, open.hierarchical),
            std::make_tuple(std::vector<std::string>{}, "/home/a/Archive/2026", true));
  EXPECT_EQ(std::tie(undo.sources, undo.destination, undo.hierarchical),
            std::make_tuple(std::vector<std::string>{}, "", false));
  // The file is named exactly after the identifier that the host is given.
  EXPECT_TRUE(platform.fileExists(SharedContainer::requestPath(container(), move.id)));
  EXPECT_EQ(workspace.calls.lines().at(0),
            "/opt/tessel/bin/tessel --background-command tessel://move/" + move.id.string());
  EXPECT_TRUE(platform.logged.lines().empty());

  // Settings stores nothing: it opens the host as the user would.
  finderSync->execute(kSettings);
  EXPECT_EQ(storedRequests().size(), 3u);
  EXPECT_EQ(workspace.calls.lines().back(), "open /opt/tessel/bin/tessel");
}

TEST_F(FinderDispatchTest, CommandsThatCannotRunSendNothingAndAreLogged) {
  // A move whose selection vanished since the menu was built.
  finder.setSelection(std::nullopt);
  finderSync->execute(kFavoriteArchive);
  finder.setSelection(std::vector<std::string>{});
  finderSync->execute(kFavoriteArchive);

  // Items outlived by 8192 later commands, and tags never handed out.
  MenuItem later;
  for (std::int64_t tag = kSettings + 1; tag <= 8193; ++tag) {
    finderSync->registerCommand(Command{Command::Undo{}}, later);
  }
  EXPECT_EQ(later.tag, 8193);
  EXPECT_EQ(finderSync->command(2), (Command{Command::Move{"/home/a/Inbox", false}}));
  finder.setSelection(std::vector<std::string>{"/home/a/x"});
  finderSync->execute(kFavoriteArchive);
  finderSync->execute(-1);

  EXPECT_EQ(platform.logged.lines(),
            (std::vector<std::string>{
                "Tessel selection unavailable", "Tessel selection unavailable",
                "Tessel command unavailable (tag 1)", "Tessel command unavailable (tag -1)"}));
  EXPECT_TRUE(storedRequests().empty());
  EXPECT_TRUE(workspace.calls.lines().empty());
}

TEST_F(FinderDispatchTest, WithoutAContainerTheFailureIsLoggedAndTheHostOpened) {
  setGroup("..");
  finder.setSelection(std::vector<std::string>{"/home/a/x"});
  for (const std::int64_t tag : {kOpenFolder2026, kUndo, kFavoriteArchive})
    finderSync->execute(tag);
  EXPECT_EQ(platform.logged.lines(),
            std::vector<std::string>(3,
                                     "Tessel request failed: Cannot open Tessel’s shared folder. "
                                     "Check that the data folder exists and can be written."));
  EXPECT_EQ(workspace.calls.lines(), std::vector<std::string>(3, "open /opt/tessel/bin/tessel"));
}

TEST_F(FinderDispatchTest, TheHostIsFoundByOverrideThenBesideTheProgramThenFromTheModule) {
  EXPECT_EQ(HostApplication::executablePath(platform), "/opt/tessel/bin/tessel");
  platform.variables.erase("TESSEL_HOST_EXECUTABLE");
  platform.modulePathOverride = "/opt/t/lib/nautilus/extensions-4/tessel-nautilus.so";
  EXPECT_EQ(
      HostApplication::executablePath(platform),
      standardizedPath("/opt/t/lib/nautilus/extensions-4/" TESSEL_MODULE_TO_PROGRAMS "/tessel"));
  platform.modulePathOverride = folder.at("build/bin/tessel-finder");
  folder.file("build/bin/tessel");
  EXPECT_EQ(HostApplication::executablePath(platform), folder.at("build/bin/tessel"));
}

}  // namespace
}  // namespace tessel::testing
