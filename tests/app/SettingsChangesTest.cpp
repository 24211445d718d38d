// Changing the settings: saving them, adding favourites, renewing a grant.
#include <cerrno>

#include "ModelHarness.h"

namespace tessel::testing {
namespace {

using SettingsChangesTest = ModelHarness;

TEST_F(SettingsChangesTest, SaveWritesTheJsonFormDurablyAndAFailedSaveKeepsTheOldFileAndMenu) {
  start();
  std::optional<Durability> written;
  platform.addRule([&written](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::write && call.path.ends_with("/settings.json"))
      written = call.durability;
    return std::nullopt;
  });
  HostSettings changed;
  changed.recent = {"/a/b"};
  changed.policy = ConflictPolicy::cancel;
  model->setSettings(changed);
  model->saveSettings();
  const std::string saved = R"({"favorites":[],"roots":[],"recent":["\/a\/b"],"policy":"cancel"})";
  EXPECT_EQ(platform.readFile(settingsFile()), saved);
  EXPECT_EQ(written, Durability::durable);
  EXPECT_EQ(desktop.notifications, 2);

  platform.failWhere(FileOperation::write, "settings.json", ENOSPC);
  model->setSettings(HostSettings{});
  model->saveSettings();
  EXPECT_NE(status().find("No space left on device"), std::string::npos) << status();
  EXPECT_EQ(platform.readFile(settingsFile()), saved);
  EXPECT_EQ(desktop.notifications, 2);
}

TEST_F(SettingsChangesTest, AddFolderAppendsAFavoriteAndAddingItAgainOnlyRenewsItsBookmark) {
  const std::string first = temp.folder("home/First");
  const std::string second = temp.folder("home/Second");
  start();
  model->addFolder(fileUrl(first + "/"), true);
  model->addFolder(fileUrl(second), true);
  ASSERT_EQ(model->settings().favorites.size(), 2u);
  const FolderGrant before = model->settings().favorites[0];
  EXPECT_EQ(before.path, first);
  EXPECT_EQ(before.name, "First");
  EXPECT_EQ(model->selectedDestination().toStdString(), second);
  EXPECT_EQ(storedSettings(), model->settings());
  EXPECT_EQ(publishedMenu().favorites.at(1).path, second);

  // The same path now names another folder: a renewal must record the new one in place.
  platform.moveItem(first, first + ".old");
  temp.folder("home/First");
  model->addFolder(fileUrl(first), true);
  ASSERT_EQ(model->settings().favorites.size(), 2u);
  const FolderGrant& after = model->settings().favorites[0];
  EXPECT_EQ(after.id, before.id);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.path, before.path);
  EXPECT_NE(after.bookmark, before.bookmark);
  EXPECT_EQ(model->selectedDestination().toStdString(), first);
}

TEST_F(SettingsChangesTest, AddingAFileOrAMissingFolderChangesNothing) {
  start();
  const std::string file = temp.file("home/notes.txt", "x");
  model->addFolder(fileUrl(file), true);
  EXPECT_EQ(status(), "Select a folder.");
  EXPECT_TRUE(model->settings().favorites.empty());
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  model->addFolder(fileUrl(temp.at("home/missing")), true);
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
}

}  // namespace
}  // namespace tessel::testing
