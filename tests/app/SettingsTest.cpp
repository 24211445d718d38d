// The host's settings: start-up with and without them, the one-time migration, damaged files,
// saving, and adding favourites.
#include <cerrno>

#include "HostHarness.h"

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
  EXPECT_EQ(platform.readFile(settingsFile()), encodeJson(stored));
  EXPECT_EQ(journal(), "journal");
  EXPECT_TRUE(platform.fileExists(temp.at(kFormer + "settings.json")));
  EXPECT_TRUE(platform.fileExists(temp.at(kFormer + "undo.json")));

  platform.removeItem(settingsFile());
  platform.removeItem(temp.at(kFormer + "settings.json"));
  temp.file("data/Tessel/undo.json", "current");
  start();
  EXPECT_EQ(journal(), "current");
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
  const FolderGrant before = model->settings().favorites[0];
  EXPECT_EQ(std::tie(before.path, before.name), std::tie(first, "First"));
  EXPECT_EQ(model->selectedDestination().toStdString(), second);
  EXPECT_EQ(storedSettings(), model->settings());
  EXPECT_EQ(publishedMenu().favorites.at(1).path, second);
  // The same path now names another folder: a renewal must record the new one in place.
  platform.moveItem(first, first + ".old");
  temp.folder("home/First");
  model->addFolder(fileUrl(first), true);
  ASSERT_EQ(model->settings().favorites.size(), 2u);
  const FolderGrant& after = model->settings().favorites[0];
  EXPECT_EQ(std::tie(after.id, after.name, after.path),
            std::tie(before.id, before.name, before.path));
  EXPECT_NE(after.bookmark, before.bookmark);
  EXPECT_EQ(model->selectedDestination().toStdString(), first);
}

}  // namespace
}  // namespace tessel::testing
