// Changing the settings: saving them, adding favourites and source folders, renewing a grant.
#include <cerrno>

#include "ModelHarness.h"

namespace tessel::testing {
namespace {

using SettingsChangesTest = ModelHarness;

TEST_F(SettingsChangesTest, SaveWritesTheRecordInItsJsonFormAndRepublishes) {
  start();
  HostSettings changed;
  changed.recent = {"/a/b"};
  changed.policy = ConflictPolicy::cancel;
  model->setSettings(changed);
  model->saveSettings();
  EXPECT_EQ(platform.readFile(settingsFile()),
            R"({"favorites":[],"roots":[],"recent":["\/a\/b"],"policy":"cancel"})");
  EXPECT_EQ(desktop.notifications, 2);
  EXPECT_EQ(status(), "Ready");
}

TEST_F(SettingsChangesTest, FailedSaveKeepsTheOldFileAndTheOldMenu) {
  writeSettings(HostSettings{});
  start();
  const std::string before = platform.readFile(settingsFile());
  platform.failWhere(FileOperation::write, "settings.json", ENOSPC);
  HostSettings changed;
  changed.recent = {"/x"};
  model->setSettings(changed);
  model->saveSettings();
  EXPECT_NE(status().find("No space left on device"), std::string::npos) << status();
  EXPECT_EQ(platform.readFile(settingsFile()), before);
  EXPECT_EQ(desktop.notifications, 1);
}

TEST_F(SettingsChangesTest, AddFolderAppendsAFavoriteSelectsItAndPublishesIt) {
  start();
  const std::string projects = temp.folder("home/Projects");
  model->addFolder(fileUrl(projects + "/"), true);

  ASSERT_EQ(model->settings().favorites.size(), 1u);
  const FolderGrant& grant = model->settings().favorites[0];
  EXPECT_EQ(grant.path, projects);
  EXPECT_EQ(grant.name, "Projects");
  EXPECT_FALSE(grant.bookmark.data.empty());
  EXPECT_EQ(model->selectedDestination().toStdString(), projects);
  EXPECT_EQ(storedSettings(), model->settings());
  ASSERT_EQ(publishedMenu().favorites.size(), 1u);
  EXPECT_EQ(publishedMenu().favorites[0].path, projects);
}

TEST_F(SettingsChangesTest, AddingTheSameFolderAgainOnlyRenewsItsBookmark) {
  const std::string first = temp.folder("home/First");
  const std::string second = temp.folder("home/Second");
  start();
  model->addFolder(fileUrl(first), true);
  model->addFolder(fileUrl(second), true);
  const FolderGrant before = model->settings().favorites[0];
  // The same path now names another folder: a renewal must record the new one.
  platform.moveItem(first, first + ".old");
  temp.folder("home/First");
  model->setSelectedDestination({});

  model->addFolder(fileUrl(first), true);
  ASSERT_EQ(model->settings().favorites.size(), 2u);
  const FolderGrant& after = model->settings().favorites[0];
  EXPECT_EQ(after.id, before.id);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.path, before.path);
  EXPECT_NE(after.bookmark, before.bookmark);
  EXPECT_EQ(model->selectedDestination().toStdString(), first);
}

TEST_F(SettingsChangesTest, AddingAFileChangesNothing) {
  start();
  const std::string file = temp.file("home/notes.txt", "x");
  model->addFolder(fileUrl(file), true);
  EXPECT_EQ(status(), "Select a folder.");
  EXPECT_TRUE(model->settings().favorites.empty());
  EXPECT_FALSE(platform.fileExists(settingsFile()));
  {
    ScopedLanguage japanese("ja");
    model->addFolder(fileUrl(file), false);
    EXPECT_EQ(status(), "フォルダを選択してください。");
  }
  model->addFolder(fileUrl(temp.at("home/missing")), true);
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
}

TEST_F(SettingsChangesTest, AddSourceFolderAsksThePanelAndAddsASourceFolder) {
  start();
  const std::string downloads = temp.folder("home/Downloads");
  model->addSourceFolder();  // cancelled
  EXPECT_TRUE(model->settings().roots.empty());
  ASSERT_EQ(desktop.prompts.size(), 1);
  EXPECT_EQ(desktop.prompts[0], "Allow Source Folder");

  desktop.folderAnswer = fileUrl(downloads);
  model->addSourceFolder();
  ASSERT_EQ(model->settings().roots.size(), 1u);
  EXPECT_EQ(model->settings().roots[0].path, downloads);
  EXPECT_TRUE(model->settings().favorites.empty());
  EXPECT_TRUE(model->selectedDestination().isEmpty());
  EXPECT_EQ(storedSettings().roots, model->settings().roots);
}

}  // namespace
}  // namespace tessel::testing
