// The menu snapshot: roots, the favourites' folder trees under the shared budget and depth
// limit, file-manager order, and the recent destinations that still make sense.
#include <QDBusConnection>
#include <QDBusMessage>
#include <algorithm>
#include <cerrno>

#include "ModelHarness.h"
#include "SignalCounter.h"
#include "model/DBusSettingsNotifier.h"
#include "model/MenuTree.h"

namespace tessel::testing {
namespace {

using MenuSnapshotTest = ModelHarness;
using StoreMenuTest = StoreBuildHarness;

std::vector<std::string> names(const std::vector<MenuDestination>& destinations) {
  std::vector<std::string> result;
  for (const MenuDestination& destination : destinations) result.push_back(destination.name);
  return result;
}

HostSettings favoritesAt(const std::vector<std::string>& folders, Platform& platform) {
  HostSettings settings;
  for (const std::string& folder : folders)
    settings.favorites.push_back(grantFor(folder, platform));
  return settings;
}

TEST_F(MenuSnapshotTest, BudgetOf400FoldersIsSharedByAllFavorites) {
  const std::string big = temp.folder("home/Big");
  for (int i = 0; i < 1000; ++i) temp.folder("home/Big/f" + std::to_string(i));
  const std::string later = temp.folder("home/Later");
  temp.folder("home/Later/child");
  writeSettings(favoritesAt({big, later}, platform));
  start();

  const MenuSnapshot menu = publishedMenu();
  ASSERT_EQ(menu.favorites.size(), 2u);
  const std::vector<MenuDestination>& taken = menu.favorites[0].children;
  ASSERT_EQ(taken.size(), 400u);
  EXPECT_EQ(taken[0].name, "f0");
  EXPECT_EQ(taken[1].name, "f1");
  EXPECT_EQ(taken[10].name, "f10");
  EXPECT_EQ(taken[399].name, "f399");
  EXPECT_TRUE(menu.favorites[1].children.empty());
  EXPECT_EQ(menu.favorites[1].name, "Later");
}

TEST_F(MenuSnapshotTest, WalksFourLevelsDepthFirstAndCountsEveryTakenFolder) {
  const std::string chain = temp.folder("home/Chain");
  temp.folder("home/Chain/a/b/c/d/e/f");
  temp.folder("home/Chain/z");
  writeSettings(favoritesAt({chain}, platform));
  start();
  const MenuDestination tree = publishedMenu().favorites[0];
  ASSERT_EQ(names(tree.children), (std::vector<std::string>{"a", "z"}));
  const MenuDestination& d = tree.children[0].children[0].children[0].children[0];
  EXPECT_EQ(d.path, chain + "/a/b/c/d");
  EXPECT_TRUE(d.children.empty());

  // Depth first: the budget runs out inside the first subtree, before its sibling.
  int budget = 3;
  const MenuDestination limited = menuTree(chain, 0, budget, FinderOrder{}, platform);
  EXPECT_EQ(budget, 0);
  EXPECT_EQ(names(limited.children), (std::vector<std::string>{"a"}));
  EXPECT_EQ(limited.children[0].children[0].children[0].name, "c");
  EXPECT_TRUE(limited.children[0].children[0].children[0].children.empty());
}

TEST_F(MenuSnapshotTest, LeavesOutLinksFilesHiddenAndUnlistableFolders) {
  const std::string root = temp.folder("home/Root");
  temp.folder("home/Root/Visible");
  temp.folder("home/Root/.dot");
  temp.folder("home/Root/Secret");
  temp.folder("home/Root/Private");
  temp.file("home/Root/.hidden", "Secret\n\nnothing\n");
  temp.file("home/Root/file.txt");
  ASSERT_EQ(::symlink(temp.at("home/Root/Visible").c_str(), temp.at("home/Root/Link").c_str()), 0);
  temp.folder("home/Root/Private/Inner");
  platform.failWhere(FileOperation::list, "/Private", EACCES);
  writeSettings(favoritesAt({root}, platform));
  start();
  const MenuDestination tree = publishedMenu().favorites[0];
  EXPECT_EQ(names(tree.children), (std::vector<std::string>{"Private", "Visible"}));
  EXPECT_TRUE(tree.children[0].children.empty());
}

TEST_F(MenuSnapshotTest, ListsNamesInFileManagerOrder) {
  const std::string root = temp.folder("home/Root");
  for (const char* name : {"Folder 10", "Folder 9", "folder 1", "alpha", "Beta"}) {
    temp.folder(std::string("home/Root/") + name);
  }
  writeSettings(favoritesAt({root}, platform));
  start();
  EXPECT_EQ(names(publishedMenu().favorites[0].children),
            (std::vector<std::string>{"alpha", "Beta", "folder 1", "Folder 9", "Folder 10"}));
}

TEST_F(MenuSnapshotTest, RecentListsTheFirst20ThatLieInAFavoriteAndExist) {
  const std::string root = temp.folder("home/Root");
  HostSettings settings = favoritesAt({root}, platform);
  settings.recent.push_back(root);
  settings.recent.push_back(temp.at("home/Root/deleted"));
  settings.recent.push_back(temp.folder("home/Outside"));
  for (int i = 0; i < 25; ++i) {
    settings.recent.push_back(temp.folder("home/Root/r" + std::to_string(i)));
  }
  writeSettings(settings);
  start();
  const std::vector<MenuDestination> recent = publishedMenu().recent;
  // Of the first 20 entries, the deleted and the outside ones are left out.
  ASSERT_EQ(recent.size(), 18u);
  EXPECT_EQ(recent[0].path, root);
  EXPECT_EQ(recent[0].name, "Root");
  EXPECT_TRUE(recent[0].children.empty());
  EXPECT_EQ(recent[1].name, "r0");
  EXPECT_EQ(recent[17].name, "r16");
  EXPECT_EQ(model->settings().recent.size(), 28u);
}

TEST_F(MenuSnapshotTest, DirectRootsAreHomeSharedUsersAndShownVolumesInByteOrder) {
  const std::string usb = temp.folder("home/USB Stick");
  const std::string disk = temp.folder("home/Disk");
  platform.mountinfo =
      "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "30 22 8:17 / " +
      temp.at("home/USB\\040Stick") +
      " rw - vfat /dev/sdb1 rw\n"
      "31 22 8:18 / " +
      disk +
      " rw - ext4 /dev/sdb2 rw\n"
      "32 22 8:19 / " +
      disk +
      " rw - ext4 /dev/sdb2 rw\n"
      "33 22 0:40 / " +
      temp.at("home/proc") +
      " rw - proc proc rw\n"
      "34 22 8:20 / " +
      temp.at("home/Unplugged") + " rw - ext4 /dev/sdb3 rw\n";
  start();
  std::vector<std::string> expected{platform.home, "/Users/Shared", usb, disk};
  std::ranges::sort(expected);
  EXPECT_EQ(publishedMenu().roots, expected);
}

TEST_F(StoreMenuTest, StaleFavoriteKeepsThePreviousMenu) {
  const std::string inbox = temp.folder("home/Inbox");
  writeSettings(favoritesAt({inbox}, platform));
  start();
  const std::string before = platform.readFile(platform.container + "/menu.json");
  platform.moveItem(inbox, inbox + ".old");
  platform.createDirectories(inbox, 0755);
  model->saveSettings();
  EXPECT_EQ(status(), "Add “Inbox” again to renew access.");
  EXPECT_EQ(platform.readFile(platform.container + "/menu.json"), before);
  EXPECT_EQ(desktop.notifications, 1);
}

TEST_F(MenuSnapshotTest, FailedPublicationSetsTheStatusAndSendsNoSignal) {
  platform.writeInfo(true, "");
  start();
  EXPECT_EQ(status(), "Cannot open the App Group. Check signing and provisioning settings.");
  EXPECT_EQ(desktop.notifications, 0);
}

TEST(DBusSettingsNotifierTest, PostsTheSettingsSignalOnTheSessionBus) {
  QDBusConnection sender = QDBusConnection::sessionBus();
  if (!sender.isConnected()) GTEST_SKIP() << "no D-Bus session bus";
  QDBusConnection listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "listener");
  ASSERT_TRUE(listener.isConnected());

  SignalCounter receiver;
  // Only signals from this test's own connection count: other tests share the bus.
  ASSERT_TRUE(listener.connect(sender.baseService(), "/com/quillmark/Tessel",
                               "com.quillmark.Tessel", "settings", &receiver,
                               SLOT(received(QDBusMessage))));
  DBusSettingsNotifier().postSettingsChanged();
  EXPECT_TRUE(waitUntil([&] { return receiver.count == 1; }));
  EXPECT_EQ(receiver.lastArgumentCount, 0);
  QDBusConnection::disconnectFromBus("listener");
}

}  // namespace
}  // namespace tessel::testing
