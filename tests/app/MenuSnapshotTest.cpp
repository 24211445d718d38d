// The menu snapshot: roots, the favourites' folder trees under the shared budget and depth
// limit, file-manager order, the recent destinations that still make sense, and the signal.
#include <QDBusConnection>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cerrno>

#include "HostHarness.h"
#include "model/DBusSettingsNotifier.h"
#include "model/MenuTree.h"
#include "model/MountedVolumes.h"

namespace tessel::testing {
namespace {

using MenuSnapshotTest = HostHarness;
using Names = std::vector<std::string>;

Names names(const std::vector<MenuDestination>& destinations) {
  Names result;
  for (const MenuDestination& destination : destinations) result.push_back(destination.name);
  return result;
}

// Every folder taken, at any depth, counts against one budget of 400 for all favourites.
TEST_F(MenuSnapshotTest, TreesAreInFileManagerOrderFourDeepAndShareOneBudget) {
  const std::string root = temp.folder("home/Root");
  for (const char* name : {"Folder 10", "Folder 9", "folder 1", "Beta", "alpha", ".dot", "Secret"})
    temp.folder(std::string("home/Root/") + name);
  temp.file("home/Root/.hidden", "Secret\n\nnothing\n");
  temp.file("home/Root/file.txt");
  ASSERT_EQ(::symlink(temp.at("home/Root/Beta").c_str(), temp.at("home/Root/Link").c_str()), 0);
  temp.folder("home/Root/Private/Inner");
  platform.failWhere(FileOperation::list, "/Private", EACCES);
  const std::string chain = temp.folder("home/Chain");
  temp.folder("home/Chain/a/b/c/d/e/f");
  temp.folder("home/Chain/z");
  const std::string big = temp.folder("home/Big");
  for (int i = 0; i < 1000; ++i) temp.folder("home/Big/f" + std::to_string(i));
  temp.folder("home/Later/child");
  writeSettings(favoritesAt({root, chain, big, temp.at("home/Later")}));
  start();
  const MenuSnapshot menu = publishedMenu();
  ASSERT_EQ(menu.favorites.size(), 4u);
  EXPECT_EQ(names(menu.favorites[0].children),
            (Names{"alpha", "Beta", "folder 1", "Folder 9", "Folder 10", "Private"}));
  EXPECT_TRUE(menu.favorites[0].children[5].children.empty());
  const MenuDestination& chainTree = menu.favorites[1];
  ASSERT_EQ(names(chainTree.children), (Names{"a", "z"}));
  const MenuDestination& d = chainTree.children[0].children[0].children[0].children[0];
  EXPECT_EQ(d.path, chain + "/a/b/c/d");
  EXPECT_TRUE(d.children.empty());
  const std::vector<MenuDestination>& taken = menu.favorites[2].children;
  ASSERT_EQ(taken.size(), 400u - 6 - 5);
  EXPECT_EQ(taken.back().name, "f388");
  EXPECT_EQ(menu.favorites[3].name, "Later");
  EXPECT_TRUE(menu.favorites[3].children.empty());
  // Depth first: the budget runs out inside the first subtree, before its sibling.
  int budget = 3;
  EXPECT_EQ(names(menuTree(chain, 0, budget, FinderOrder{}, platform).children), Names{"a"});
}

TEST_F(MenuSnapshotTest, RecentListsTheFirst20ThatLieInAFavoriteAndExist) {
  const std::string root = temp.folder("home/Root");
  HostSettings settings = favoritesAt({root});
  settings.recent = {root, temp.at("home/Root/deleted"), temp.folder("home/Outside")};
  for (int i = 0; i < 25; ++i)
    settings.recent.push_back(temp.folder("home/Root/r" + std::to_string(i)));
  writeSettings(settings);
  start();
  // Of the first 20 entries, the deleted and the outside ones are left out.
  const Names recent = names(publishedMenu().recent);
  ASSERT_EQ(recent.size(), 18u);
  EXPECT_EQ(recent.front(), "Root");
  EXPECT_EQ(recent.back(), "r16");
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

TEST(MountedVolumesTest, KeepsRealFileSystemsWhereFileManagersShowThem) {
  const std::string table =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "23 22 0:21 / /proc rw shared:5 - proc proc rw\n"
      "24 22 0:22 / /run/user/1000 rw shared:9 - tmpfs tmpfs rw\n"
      "25 22 8:17 / /media/ana/USB\\040Key rw shared:40 - vfat /dev/sdb1 rw\n"
      "26 22 8:18 / /run/media/ana/Backup rw shared:41 master:2 - ext4 /dev/sdb2 rw\n"
      "27 22 8:19 / /mnt rw - xfs /dev/sdc1 rw\n"
      "28 22 8:20 / /mnt/data rw - btrfs /dev/sdc2 rw\n"
      "29 22 0:50 / /home/ana/.local/share/containers/overlay rw - overlay overlay rw\n"
      "30 22 0:51 / /home/ana/Remote rw - fuse.sshfs host: rw\n"
      "31 22 0:52 / /home/ana/.cache/mount rw - ext4 /dev/sdd1 rw\n"
      "32 22 0:53 / /home/ana rw - ext4 /dev/sde1 rw\n"
      "33 22 0:54 / /home/anab/Disk rw - ext4 /dev/sdf1 rw\n"
      "34 22 0:55 / /media rw - ext4 /dev/sdg1 rw\n"
      "35 22 0:56 / /srv/data rw - ext4 /dev/sdh1 rw\n"
      "36 22 0:57 / /media/ana/cgroup rw - cgroup2 cgroup2 rw\n"
      "malformed line\n";
  EXPECT_EQ(MountedVolumes::candidates(table, "/home/ana"),
            (std::vector<std::string>{"/media/ana/USB Key", "/run/media/ana/Backup", "/mnt",
                                      "/mnt/data", "/home/ana/Remote"}));
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
