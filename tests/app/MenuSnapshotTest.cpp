// The menu snapshot: roots, the favourites' folder trees under the shared budget and depth
// limit, file-manager order, and the recent destinations that still make sense.
#include <QDBusConnection>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cerrno>

#include "ModelHarness.h"
#include "model/DBusSettingsNotifier.h"
#include "model/MenuTree.h"

namespace tessel::testing {
namespace {

using MenuSnapshotTest = ModelHarness;
using Names = std::vector<std::string>;

Names names(const std::vector<MenuDestination>& destinations) {
  Names result;
  for (const MenuDestination& destination : destinations) result.push_back(destination.name);
  return result;
}

TEST_F(MenuSnapshotTest, BudgetOf400FoldersIsSharedByAllFavorites) {
  const std::string big = temp.folder("home/Big");
  for (int i = 0; i < 1000; ++i) temp.folder("home/Big/f" + std::to_string(i));
  const std::string later = temp.folder("home/Later");
  temp.folder("home/Later/child");
  writeSettings(favoritesAt({big, later}));
  start();
  const MenuSnapshot menu = publishedMenu();
  ASSERT_EQ(menu.favorites.size(), 2u);
  const std::vector<MenuDestination>& taken = menu.favorites[0].children;
  ASSERT_EQ(taken.size(), 400u);
  EXPECT_EQ(taken[10].name, "f10");
  EXPECT_EQ(taken[399].name, "f399");
  EXPECT_EQ(menu.favorites[1].name, "Later");
  EXPECT_TRUE(menu.favorites[1].children.empty());
}

TEST_F(MenuSnapshotTest, WalksFourLevelsDepthFirstAndCountsEveryTakenFolder) {
  const std::string chain = temp.folder("home/Chain");
  temp.folder("home/Chain/a/b/c/d/e/f");
  temp.folder("home/Chain/z");
  writeSettings(favoritesAt({chain}));
  start();
  const MenuDestination tree = publishedMenu().favorites[0];
  ASSERT_EQ(names(tree.children), (Names{"a", "z"}));
  const MenuDestination& d = tree.children[0].children[0].children[0].children[0];
  EXPECT_EQ(d.path, chain + "/a/b/c/d");
  EXPECT_TRUE(d.children.empty());

  // Depth first: the budget runs out inside the first subtree, before its sibling.
  int budget = 3;
  const MenuDestination limited = menuTree(chain, 0, budget, FinderOrder{}, platform);
  EXPECT_EQ(budget, 0);
  EXPECT_EQ(names(limited.children), (Names{"a"}));
  EXPECT_EQ(limited.children[0].children[0].children[0].name, "c");
  EXPECT_TRUE(limited.children[0].children[0].children[0].children.empty());
}

TEST_F(MenuSnapshotTest, ListsFoldersInFileManagerOrderLeavingOutLinksFilesAndHidden) {
  const std::string root = temp.folder("home/Root");
  for (const char* name :
       {"Folder 10", "Folder 9", "folder 1", "Beta", "alpha", ".dot", "Secret"}) {
    temp.folder(std::string("home/Root/") + name);
  }
  temp.file("home/Root/.hidden", "Secret\n\nnothing\n");
  temp.file("home/Root/file.txt");
  ASSERT_EQ(::symlink(temp.at("home/Root/Beta").c_str(), temp.at("home/Root/Link").c_str()), 0);
  temp.folder("home/Root/Private/Inner");
  platform.failWhere(FileOperation::list, "/Private", EACCES);
  writeSettings(favoritesAt({root}));
  start();
  const MenuDestination tree = publishedMenu().favorites[0];
  EXPECT_EQ(names(tree.children),
            (Names{"alpha", "Beta", "folder 1", "Folder 9", "Folder 10", "Private"}));
  EXPECT_TRUE(tree.children[5].children.empty());
}

TEST_F(MenuSnapshotTest, RecentListsTheFirst20ThatLieInAFavoriteAndExist) {
  const std::string root = temp.folder("home/Root");
  HostSettings settings = favoritesAt({root});
  settings.recent = {root, temp.at("home/Root/deleted"), temp.folder("home/Outside")};
  for (int i = 0; i < 25; ++i) {
    settings.recent.push_back(temp.folder("home/Root/r" + std::to_string(i)));
  }
  writeSettings(settings);
  start();
  const std::vector<MenuDestination> recent = publishedMenu().recent;
  // Of the first 20 entries, the deleted and the outside ones are left out.
  ASSERT_EQ(recent.size(), 18u);
  EXPECT_EQ(recent[0].name, "Root");
  EXPECT_TRUE(recent[0].children.empty());
  EXPECT_EQ(recent[1].name, "r0");
  EXPECT_EQ(recent[17].name, "r16");
  EXPECT_EQ(model->settings().recent.size(), 28u);
}

TEST_F(MenuSnapshotTest, DirectRootsAreHomeSharedUsersAndShownVolumesInByteOrder) {
  const std::string usb = temp.folder("home/USB Stick");
  const std::string disk = temp.folder("home/Disk");
  const auto mount = [](const std::string& point) {
    return "30 22 8:17 / " + point + " rw - ext4 /dev/sdb1 rw\n";
  };
  // The disk is mounted twice; the last mount point no longer exists.
  platform.mountinfo = mount(temp.at("home/USB\\040Stick")) + mount(disk) + mount(disk) +
                       mount(temp.at("home/Unplugged"));
  start();
  std::vector<std::string> expected{platform.home, "/Users/Shared", usb, disk};
  std::ranges::sort(expected);
  EXPECT_EQ(publishedMenu().roots, expected);
}

TEST_F(MenuSnapshotTest, FailedPublicationSetsTheStatusAndSendsNoSignal) {
  platform.writeInfo(true, "");
  start();
  EXPECT_EQ(
      status(),
      "Cannot open Tessel’s shared folder. Check that the data folder exists and can be written.");
  EXPECT_EQ(desktop.notifications, 0);
}

TEST(DBusSettingsNotifierTest, PostsTheSettingsSignalOnTheSessionBus) {
  QDBusConnection sender = QDBusConnection::sessionBus();
  if (!sender.isConnected()) GTEST_SKIP() << "no D-Bus session bus";
  QDBusConnection listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "listener");
  ASSERT_TRUE(listener.isConnected());
  QEventLoop received;
  QTimer::singleShot(10000, &received, [&received] { received.exit(1); });
  // Only signals from this test's own connection count: other tests share the bus.
  ASSERT_TRUE(listener.connect(sender.baseService(), "/com/quillmark/Tessel",
                               "com.quillmark.Tessel", "settings", &received, SLOT(quit())));
  DBusSettingsNotifier().postSettingsChanged();
  EXPECT_EQ(received.exec(), 0);
  QDBusConnection::disconnectFromBus("listener");
}

}  // namespace
}  // namespace tessel::testing
