// The host's settings: start-up with and without them, the one-time migration, damaged files,
// saving, and adding favourites. Folder grants: a store build reaches folders only through
// grants that are current and held; a direct build reaches them by path whatever their
// bookmark says.
#include <cerrno>

#include "HostHarness.h"
#include "core/Errors.h"

namespace tessel::testing {
namespace {

using SettingsTest = HostHarness;

const std::string kFormer = "home/.var/app/com.quillmark.Tessel/data/Tessel/";

TEST_F(SettingsTest, WithoutSettingsStartsOnDefaultsAndSavesTheJsonFormDurablyOrNotAtAll) {
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(model->settings(), HostSettings{});
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  EXPECT_TRUE(menuPublished());
  EXPECT_EQ(desktop.notifications, 1);
  HostSettings changed;
  changed.recent = {"/a/b"};
  changed.policy = ConflictPolicy::cancel;
  model->setSettings(changed);
  model->saveSettings();
  const std::string saved = R"({"favorites":[],"roots":[],"recent":["\/a\/b"],"policy":"cancel"})";
  EXPECT_EQ(platform.readFile(settingsFile()), saved);
  EXPECT_TRUE(std::ranges::any_of(platform.calls(), [](const PlatformCall& call) {
    return call.path.ends_with("/settings.json") && call.durability == Durability::durable;
  }));
  EXPECT_EQ(desktop.notifications, 2);
  // A failed save keeps the old file and the menu.
  platform.failWhere(FileOperation::write, "settings.json", ENOSPC);
  model->setSettings(HostSettings{});
  model->saveSettings();
  EXPECT_NE(status().find("No space left on device"), std::string::npos) << status();
  EXPECT_EQ(platform.readFile(settingsFile()), saved);
  EXPECT_EQ(desktop.notifications, 2);
}

// The former files are copied once, never over a file, never over settings and never into a
// store build.
TEST_F(SettingsTest, MigratesTheFormerFilesOnceAndOnlyWhereNothingIsYet) {
  HostSettings stored = favoritesAt({temp.folder("home/Inbox")});
  stored.policy = ConflictPolicy::skip;
  temp.file(kFormer + "settings.json", encodeJson(stored));
  temp.file(kFormer + "undo.json", "journal");
  start();
  EXPECT_EQ(model->settings(), stored);
  EXPECT_EQ(journal(), "journal");
  EXPECT_TRUE(platform.fileExists(temp.at(kFormer + "undo.json")));

  platform.removeItem(support() + "/undo.json");
  start();
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));
  platform.removeItem(settingsFile());
  platform.removeItem(temp.at(kFormer + "settings.json"));
  temp.file("data/Tessel/undo.json", "current");
  start();
  EXPECT_EQ(journal(), "current");
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  platform.removeItem(support());
  temp.file(kFormer + "settings.json", encodeJson(HostSettings{}));
  platform.writeInfo(false);
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_FALSE(platform.fileExists(settingsFile()) ||
               platform.fileExists(support() + "/undo.json"));
}

TEST_F(SettingsTest, DamagedSettingsOrNoSupportFolderStopStartUp) {
  const std::string incomplete = R"({"favorites":[],"roots":[],"policy":"keepBoth"})";
  temp.file("data/Tessel/settings.json", incomplete);
  start();
  EXPECT_NE(status().find("recent"), std::string::npos) << status();
  EXPECT_EQ(model->settings(), HostSettings{});
  EXPECT_FALSE(menuPublished());
  EXPECT_EQ(desktop.notifications, 0);
  EXPECT_EQ(platform.readFile(settingsFile()), incomplete);
  // The next save writes the defaults; the user's files survive as numbered copies.
  model->saveSettings();
  temp.file("data/Tessel/settings.json", "{");
  start();
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable.json"), incomplete);
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable 2.json"), "{");

  platform.removeItem(support());
  platform.failWhere(FileOperation::createDirectory, "/Tessel", EACCES);
  start();
  EXPECT_NE(status().find("Permission denied"), std::string::npos) << status();
  EXPECT_EQ(platform.logged.back(), status());
}

TEST_F(SettingsTest, AddFolderAppendsAFavoriteAndAddingItAgainOnlyRenewsItsBookmark) {
  start();
  model->addFolder(fileUrl(temp.file("home/notes.txt", "x")), true);
  EXPECT_EQ(status(), "Select a folder.");
  model->addFolder(fileUrl(temp.at("home/missing")), true);
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
  EXPECT_FALSE(platform.fileExists(settingsFile()));

  const std::string first = temp.folder("home/First");
  const std::string second = temp.folder("home/Second");
  model->addFolder(fileUrl(first + "/"), true);
  model->addFolder(fileUrl(second), true);
  ASSERT_EQ(model->settings().favorites.size(), 2u);
  const FolderGrant& added = model->settings().favorites[0];
  EXPECT_EQ(std::tie(added.path, added.name), std::tie(first, "First"));
  EXPECT_EQ(model->selectedDestination().toStdString(), second);
  EXPECT_EQ(storedSettings(), model->settings());
  EXPECT_EQ(publishedMenu().favorites.at(1).path, second);
}

// Store builds, unless a test says otherwise.
struct GrantTest : HostHarness {
  GrantTest() { platform.writeInfo(false); }
  // Puts another folder at the same path, so a bookmark of the first no longer matches.
  void replaceFolder(const std::string& folder, const std::string& suffix = ".old") {
    platform.moveItem(folder, folder + suffix);
    platform.createDirectories(folder, 0755);
  }
};

TEST(FolderBookmarkTest, ResolvesOnlyTheSameFolderAndAccessNeedsOneThatCanBeReadAndEntered) {
  TempFolder temp;
  FaultInjectingPlatform platform;
  const std::string folder = temp.folder("Work");
  const Bytes bookmark = FolderBookmark::create(folder, platform);
  EXPECT_TRUE(FolderBookmark::startAccessing(folder, platform));
  EXPECT_FALSE(FolderBookmark::startAccessing(temp.file("file"), platform));
  EXPECT_FALSE(FolderBookmark::startAccessing(temp.at("missing"), platform));
  for (const auto& [operation, path] :
       {std::pair(FileOperation::attributes, "/Work/."), std::pair(FileOperation::list, "/Work")}) {
    platform.failWhere(operation, path, EACCES);
    EXPECT_FALSE(FolderBookmark::startAccessing(folder, platform)) << path;
    platform.clearFaults();
  }

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
  replaceFolder(inbox);
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
  EXPECT_NE(model->settings().favorites[0].bookmark, stored.favorites[0].bookmark);
  EXPECT_EQ(model->selectedDestination().toStdString(), inbox);
  EXPECT_EQ(model->retainedScopes(), (std::vector<std::string>{inbox}));
  const std::string menu = platform.readFile(platform.container + "/menu.json");
  const int notifications = desktop.notifications;
  // Going stale again later keeps the menu the extension already has.
  replaceFolder(inbox, ".older");
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
  replaceFolder(first);
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

TEST_F(GrantTest, DirectBuildReachesFoldersByPathWhateverTheBookmark) {
  platform.writeInfo(true);
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
