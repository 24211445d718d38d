// Start-up of the host model: the support folder, the one-time migration, loading the
// settings, and what is published when start-up stops early.
#include <algorithm>
#include <cerrno>

#include "ModelHarness.h"

namespace tessel::testing {
namespace {

using StartupTest = ModelHarness;

const std::string kFormer = "home/.var/app/com.quillmark.Tessel/data/Tessel/";

TEST_F(StartupTest, WithoutSettingsUsesDefaultsPublishesAndWritesNothing) {
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(model->settings(), HostSettings{});
  EXPECT_TRUE(platform.fileExists(support()));
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  std::vector<std::string> roots{platform.home, "/Users/Shared"};
  std::ranges::sort(roots);
  EXPECT_EQ(publishedMenu().roots, roots);
  EXPECT_EQ(desktop.notifications, 1);
}

TEST_F(StartupTest, MigratesBothFormerFilesOnceAndLeavesThem) {
  HostSettings stored = favoritesAt({temp.folder("home/Inbox")});
  stored.recent = {"/elsewhere"};
  stored.policy = ConflictPolicy::skip;
  temp.file(kFormer + "settings.json", encodeJson(stored));
  temp.file(kFormer + "undo.json", "journal");
  start();
  EXPECT_EQ(model->settings(), stored);
  EXPECT_EQ(platform.readFile(settingsFile()), encodeJson(stored));
  EXPECT_EQ(platform.readFile(support() + "/undo.json"), "journal");
  EXPECT_TRUE(platform.fileExists(temp.at(kFormer + "settings.json")));
  EXPECT_TRUE(platform.fileExists(temp.at(kFormer + "undo.json")));
}

TEST_F(StartupTest, MigrationNeverReplacesAFileNorRunsOverSettingsNorInAStoreBuild) {
  temp.file(kFormer + "undo.json", "journal");
  platform.createDirectories(support(), 0700);
  platform.writeFileAtomically(support() + "/undo.json", "current", Durability::atomic);
  start();  // no former settings; the journal is already there
  EXPECT_EQ(status(), "Ready");
  EXPECT_EQ(platform.readFile(support() + "/undo.json"), "current");
  EXPECT_FALSE(platform.fileExists(settingsFile()));

  platform.removeItem(support() + "/undo.json");
  writeSettings(HostSettings{});
  start();
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));

  platform.removeItem(settingsFile());
  temp.file(kFormer + "settings.json", encodeJson(HostSettings{}));
  platform.writeInfo(false);
  start();
  EXPECT_EQ(status(), "Ready");
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));
}

TEST_F(StartupTest, SettingsWithoutRecentFailToLoadAndStopStartUp) {
  platform.createDirectories(support(), 0700);
  const std::string incomplete = R"({"favorites":[],"roots":[],"policy":"keepBoth"})";
  platform.writeFileAtomically(settingsFile(), incomplete, Durability::atomic);
  start();
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
