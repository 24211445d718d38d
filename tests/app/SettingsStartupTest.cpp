// Start-up of the host model: the support folder, the one-time migration, loading the
// settings, and what is published when start-up stops early.
#include <algorithm>
#include <cerrno>

#include "ModelHarness.h"

namespace tessel::testing {
namespace {

using StartupTest = ModelHarness;
using StoreStartupTest = StoreBuildHarness;

std::string former(const HostTestPlatform& platform, const std::string& name) {
  return platform.home + "/.var/app/com.quillmark.Tessel/data/Tessel/" + name;
}

TEST_F(StartupTest, WithoutSettingsUsesDefaultsPublishesAndWritesNothing) {
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(model->settings(), HostSettings{});
  EXPECT_FALSE(model->busy());
  EXPECT_FALSE(model->extensionEnabled());
  EXPECT_TRUE(model->selectedSources().isEmpty());
  EXPECT_TRUE(model->selectedDestination().isEmpty());
  EXPECT_TRUE(platform.fileExists(support()));
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  ASSERT_TRUE(menuPublished());
  std::vector<std::string> roots{platform.home, "/Users/Shared"};
  std::ranges::sort(roots);
  EXPECT_EQ(publishedMenu().roots, roots);
  EXPECT_EQ(desktop.notifications, 1);
  EXPECT_EQ(model->workerThread().objectName(), "Tessel.moves");
}

TEST_F(StartupTest, LoadsStoredSettingsAndPublishesTheirFavorites) {
  const std::string inbox = temp.folder("home/Inbox");
  temp.folder("home/Inbox/2026");
  HostSettings stored;
  stored.favorites.push_back(grantFor(inbox, platform));
  stored.recent = {inbox};
  stored.policy = ConflictPolicy::skip;
  writeSettings(stored);

  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(model->settings(), stored);
  const MenuSnapshot menu = publishedMenu();
  ASSERT_EQ(menu.favorites.size(), 1u);
  EXPECT_EQ(menu.favorites[0].name, "Inbox");
  ASSERT_EQ(menu.favorites[0].children.size(), 1u);
  EXPECT_EQ(menu.favorites[0].children[0].path, inbox + "/2026");
  ASSERT_EQ(menu.recent.size(), 1u);
  EXPECT_EQ(menu.recent[0].path, inbox);
}

TEST_F(StartupTest, MigratesBothFormerFilesOnceAndLeavesThem) {
  HostSettings stored;
  stored.recent = {"/elsewhere"};
  const std::string settingsBytes = encodeJson(stored);
  temp.file("home/.var/app/com.quillmark.Tessel/data/Tessel/settings.json", settingsBytes);
  temp.file("home/.var/app/com.quillmark.Tessel/data/Tessel/undo.json", "journal");

  start();
  EXPECT_EQ(model->settings(), stored);
  EXPECT_EQ(platform.readFile(settingsFile()), settingsBytes);
  EXPECT_EQ(platform.readFile(support() + "/undo.json"), "journal");
  EXPECT_TRUE(platform.fileExists(former(platform, "settings.json")));
  EXPECT_TRUE(platform.fileExists(former(platform, "undo.json")));
}

TEST_F(StartupTest, MigrationCopiesWhatItCanAndSkipsTheRest) {
  temp.file("home/.var/app/com.quillmark.Tessel/data/Tessel/undo.json", "journal");
  platform.createDirectories(support(), 0700);
  platform.writeFileAtomically(support() + "/undo.json", "current", Durability::atomic);

  start();  // no former settings; the journal copy fails because one is already there
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(platform.readFile(support() + "/undo.json"), "current");
  EXPECT_FALSE(platform.fileExists(settingsFile()));
}

TEST_F(StartupTest, ExistingSettingsNeverLookAtTheFormerFolder) {
  writeSettings(HostSettings{});
  temp.file("home/.var/app/com.quillmark.Tessel/data/Tessel/undo.json", "journal");
  start();
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));
}

TEST_F(StoreStartupTest, StoreBuildNeverMigrates) {
  temp.file("home/.var/app/com.quillmark.Tessel/data/Tessel/settings.json",
            encodeJson(HostSettings{}));
  start();
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  EXPECT_EQ(status(), "Ready");
}

TEST_F(StartupTest, SettingsWithoutRecentFailToLoadAndStopStartUp) {
  platform.createDirectories(support(), 0700);
  const std::string incomplete = R"({"favorites":[],"roots":[],"policy":"keepBoth"})";
  platform.writeFileAtomically(settingsFile(), incomplete, Durability::atomic);

  start();
  EXPECT_NE(status(), "Ready");
  EXPECT_NE(status().find("recent"), std::string::npos) << status();
  EXPECT_EQ(model->settings(), HostSettings{});
  EXPECT_FALSE(menuPublished());
  EXPECT_EQ(desktop.notifications, 0);
  EXPECT_EQ(platform.readFile(settingsFile()), incomplete);

  // The next save writes the defaults; the user's file survives as a copy beside it, and a
  // second damaged start keeps the first copy.
  model->saveSettings();
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable.json"), incomplete);
  platform.writeFileAtomically(settingsFile(), "{", Durability::atomic);
  start();
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable.json"), incomplete);
  EXPECT_EQ(platform.readFile(support() + "/settings.unreadable 2.json"), "{");
}

TEST_F(StartupTest, SupportFolderThatCannotBeMadeStopsStartUp) {
  platform.failWhere(FileOperation::createDirectory, "/Tessel", EACCES);
  start();
  EXPECT_NE(status().find("Permission denied"), std::string::npos) << status();
  EXPECT_FALSE(menuPublished());
  EXPECT_EQ(platform.logged.back(), status());
}

}  // namespace
}  // namespace tessel::testing
