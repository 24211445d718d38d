// The host's settings: start-up with and without them, the one-time migration, damaged files,
// saving, and adding favourites. Folder grants: a store build reaches folders only through
// grants that are current and held.
#include <cerrno>

#include "HostHarness.h"
#include "core/Errors.h"

namespace tessel::testing {
namespace {

using SettingsTest = HostHarness;

const std::string kFormer = "home/.var/app/com.quillmark.Tessel/data/Tessel/";

TEST_F(SettingsTest, WithoutSettingsStartsOnDefaultsAndSavesTheJsonFormDurablyOrNotAtAll) {
  start();
  settle();
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  EXPECT_EQ(desktop.notifications, 1);
  model->setSettings(HostSettings{{}, {}, {"/a/b"}, ConflictPolicy::cancel});
  model->saveSettings();
  settle();
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
  settle();
  EXPECT_NE(status().find("No space left on device"), std::string::npos) << status();
  EXPECT_EQ(platform.readFile(settingsFile()), saved);
  EXPECT_EQ(desktop.notifications, 2);
}

// The former files are copied once, never over a file, never over settings and never into a
// store build.
TEST_F(SettingsTest, MigratesTheFormerFilesOnlyWhereNothingIsYet) {
  HostSettings stored = favoritesAt({temp.folder("home/Inbox")});
  temp.file(kFormer + "settings.json", encodeJson(stored));
  temp.file(kFormer + "undo.json", "journal");
  temp.file("data/Tessel/undo.json", "current");
  start();
  EXPECT_EQ(model->settings(), stored);
  EXPECT_EQ(journal(), "current");
  platform.removeItem(support());
  platform.writeInfo(false);
  start();
  EXPECT_FALSE(platform.fileExists(settingsFile()));
}

TEST_F(SettingsTest, DamagedSettingsStopStartUpAndAreKeptAsNumberedCopies) {
  const std::string incomplete = R"({"favorites":[],"roots":[],"policy":"keepBoth"})";
  temp.file("data/Tessel/settings.json", incomplete);
  start();
  EXPECT_NE(status().find("recent"), std::string::npos) << status();
  EXPECT_EQ(desktop.notifications, 0);
  EXPECT_EQ(platform.readFile(settingsFile()), incomplete);
  // The next save writes the defaults; the user's files survive as numbered copies.
  model->saveSettings();
  settle();
  temp.file("data/Tessel/settings.json", "{");
  start();
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable.json"), incomplete);
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable 2.json"), "{");
}

TEST_F(SettingsTest, AddFolderTakesOnlyExistingFoldersAndStoresThemAsFavorites) {
  start();
  model->addFolder(fileUrl(temp.file("home/notes.txt", "x")), true);
  EXPECT_EQ(status(), "Select a folder.");
  model->addFolder(fileUrl(temp.at("home/missing")), true);
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();

  const std::string first = temp.folder("home/First");
  model->addFolder(fileUrl(first + "/"), true);
  const FolderGrant added = storedSettings().favorites.at(0);
  EXPECT_EQ(std::tie(added.path, added.name), std::tie(first, "First"));
  EXPECT_EQ(model->selectedDestination().toStdString(), first);
}

TEST_F(SettingsTest, BookmarksNameOnlyTheSameFolderWhichMustBeReadableAndNothingStaleIsUsed) {
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

  // In a store build a favourite whose bookmark went stale blocks everything until it is added
  // again.
  platform.writeInfo(false);
  const std::string inbox = temp.folder("home/Inbox");
  const HostSettings stored = favoritesAt({inbox});
  writeSettings(stored);
  // Another folder at the same path: the bookmark of the first no longer matches.
  platform.moveItem(inbox, inbox + ".old");
  platform.createDirectories(inbox, 0755);
  start();
  EXPECT_EQ(status(), "Add “Inbox” again to renew access.");
  EXPECT_EQ(moveAndWait({temp.file("home/Inbox.old/a.txt")}, inbox), false);
  EXPECT_EQ(status(), "Add the folder again to renew access.");
  EXPECT_EQ(undoAndWait(), false);

  model->addFolder(fileUrl(inbox), true);
  settle();
  const FolderGrant& renewed = model->settings().favorites.at(0);
  EXPECT_EQ(renewed.id, stored.favorites[0].id);
  EXPECT_NE(renewed.bookmark, stored.favorites[0].bookmark);
  EXPECT_EQ(model->retainedScopes(), (std::vector<std::string>{inbox}));
}

}  // namespace
}  // namespace tessel::testing
