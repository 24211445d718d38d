// Folder grants: a store build reaches folders only through grants that are current and held;
// a direct build reaches them by path whatever their bookmark says.
#include <cerrno>

#include "HostHarness.h"
#include "core/Errors.h"
#include "model/FolderBookmark.h"

namespace tessel::testing {
namespace {

using GrantTest = StoreBuildHarness;
using DirectGrantTest = HostHarness;

// Puts another folder at the same path, so a bookmark of the first no longer matches.
void replaceFolder(const std::string& folder, Platform& platform) {
  platform.moveItem(folder, folder + ".old");
  platform.createDirectories(folder, 0755);
}

TEST(FolderBookmarkTest, ResolvesOnlyTheSameFolderAndAccessNeedsOneThatCanBeReadAndEntered) {
  TempFolder temp;
  FaultInjectingPlatform platform;
  const std::string folder = temp.folder("Work");
  const Bytes bookmark = FolderBookmark::create(folder, platform);
  EXPECT_TRUE(FolderBookmark::startAccessing(folder, platform));
  EXPECT_FALSE(FolderBookmark::startAccessing(temp.file("file"), platform));
  EXPECT_FALSE(FolderBookmark::startAccessing(temp.at("missing"), platform));
  platform.failWhere(FileOperation::attributes, "/Work/.", EACCES);
  EXPECT_FALSE(FolderBookmark::startAccessing(folder, platform));
  platform.clearFaults();
  platform.failWhere(FileOperation::list, "/Work", EACCES);
  EXPECT_FALSE(FolderBookmark::startAccessing(folder, platform));
  platform.clearFaults();

  platform.removeItem(folder);
  temp.file("Work", "now a file");
  EXPECT_TRUE(FolderBookmark::resolve(bookmark, platform).stale);
  platform.removeItem(folder);
  EXPECT_THROW(FolderBookmark::resolve(bookmark, platform), PlatformError);
  EXPECT_THROW(FolderBookmark::resolve(Bytes{"not a bookmark"}, platform), DecodingError);
}

TEST_F(GrantTest, HeldGrantsAreTheRoutesToTheirFolders) {
  HostSettings stored = favoritesAt({temp.folder("home/Archive")});
  stored.roots.push_back(grantFor(temp.folder("home/Downloads")));
  writeSettings(stored);
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(model->retainedScopes(),
            (std::vector<std::string>{temp.at("home/Downloads"), temp.at("home/Archive")}));
  EXPECT_EQ(model->resolveGrant(stored.favorites[0]), temp.at("home/Archive"));
  EXPECT_EQ(publishedMenu().roots, (std::vector<std::string>{temp.at("home/Downloads")}));
  // A grant the model never opened is refused even though its folder is fine.
  EXPECT_THROW(model->resolveGrant(grantFor(temp.folder("home/Other"))), TesselError);
}

TEST_F(GrantTest, StaleFavoriteBlocksEverythingUntilItIsAddedAgain) {
  const std::string inbox = temp.folder("home/Inbox");
  const HostSettings stored = favoritesAt({inbox});
  writeSettings(stored);
  replaceFolder(inbox, platform);
  start();
  EXPECT_EQ(status(), "Add “Inbox” again to renew access.");
  EXPECT_FALSE(menuPublished());
  EXPECT_TRUE(model->retainedScopes().empty());
  EXPECT_EQ(moveAndWait({temp.file("home/Inbox.old/a.txt")}, inbox), std::optional<bool>(false));
  EXPECT_EQ(status(), "Add the folder again to renew access.");
  EXPECT_EQ(undoAndWait(), std::optional<bool>(false));

  model->addFolder(fileUrl(inbox), true);
  ASSERT_EQ(model->settings().favorites.size(), 1u);
  EXPECT_EQ(model->settings().favorites[0].id, stored.favorites[0].id);
  EXPECT_EQ(model->retainedScopes(), (std::vector<std::string>{inbox}));
  const std::string menu = platform.readFile(platform.container + "/menu.json");
  const int notifications = desktop.notifications;
  // Going stale again later keeps the menu the extension already has.
  platform.moveItem(inbox, inbox + ".older");
  platform.createDirectories(inbox, 0755);
  model->saveSettings();
  EXPECT_EQ(status(), "Add “Inbox” again to renew access.");
  EXPECT_EQ(platform.readFile(platform.container + "/menu.json"), menu);
  EXPECT_EQ(desktop.notifications, notifications);
}

TEST_F(GrantTest, FirstUnusableSourceFolderStopsTheOpeningOfAllLaterOnes) {
  const std::string first = temp.folder("home/First");
  HostSettings stored;
  stored.roots = {grantFor(first), grantFor(temp.folder("home/Second"))};
  writeSettings(stored);
  replaceFolder(first, platform);
  {
    ScopedLanguage japanese("ja");
    start();
    EXPECT_EQ(status(), "「First」を再登録してアクセス許可を更新してください。");
    EXPECT_TRUE(model->retainedScopes().empty());
  }
  platform.removeItem(first);
  start();
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
  EXPECT_TRUE(model->retainedScopes().empty());
}

TEST_F(DirectGrantTest, DirectBuildReachesFoldersByPathWhateverTheBookmark) {
  HostSettings stored = favoritesAt({temp.folder("home/Inbox")});
  FolderGrant& grant = stored.favorites[0];
  grant.bookmark = Bytes{"garbage"};
  writeSettings(stored);
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_NO_THROW(model->reopenScopes());
  EXPECT_TRUE(model->retainedScopes().empty());
  EXPECT_EQ(model->resolveGrant(grant), grant.path);
}

}  // namespace
}  // namespace tessel::testing
