// The menu snapshot: roots, the favourites' folder trees under the shared budget and depth
// limit, file-manager order, and the recent destinations that still make sense.
#include <algorithm>
#include <cerrno>

#include <QTimer>

#include "HostHarness.h"
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

// Every folder taken, at any depth, counts against one budget of 400 for all favourites. Of the
// first 20 recent destinations, those deleted or outside every favourite are left out.
TEST_F(MenuSnapshotTest, TreesAreInFileManagerOrderFourDeepAndShareOneBudgetRecentOnesLieInThem) {
  const std::string root = temp.folder("home/Root");
  for (const char* name : {"Folder 10", "Folder 9", "folder 1", "Beta", "alpha", ".dot", "Secret"})
    temp.folder(std::string("home/Root/") + name);
  temp.file("home/Root/.hidden", "Secret\n\nnothing\n");
  temp.file("home/Root/file.txt");
  ASSERT_EQ(::symlink(temp.at("home/Root/Beta").c_str(), temp.at("home/Root/Link").c_str()), 0);
  temp.folder("home/Root/Private/Inner");
  platform.failWhere(FileOperation::list, "/Private", EACCES);
  const std::string chain = temp.at("home/Chain");
  for (const char* path : {"home/Chain/a/b/c/d/e/f", "home/Chain/z"}) temp.folder(path);
  const std::string big = temp.folder("home/Big");
  for (int i = 0; i < 1000; ++i) temp.folder("home/Big/f" + std::to_string(i));
  HostSettings settings = favoritesAt({root, chain, big});
  settings.recent = {big, big + "/deleted", temp.folder("home/Outside")};
  for (int i = 0; i < 25; ++i) settings.recent.push_back(big + "/f" + std::to_string(i));
  writeSettings(settings);
  start();
  const MenuSnapshot menu = publishedMenu();
  const Names recent = names(menu.recent);
  ASSERT_EQ(recent.size(), 18u);
  EXPECT_EQ(recent.back(), "f16");
  ASSERT_EQ(menu.favorites.size(), 3u);
  EXPECT_EQ(names(menu.favorites[0].children),
            (Names{"alpha", "Beta", "folder 1", "Folder 9", "Folder 10", "Private"}));
  EXPECT_TRUE(menu.favorites[0].children[5].children.empty());
  const MenuDestination& chainTree = menu.favorites[1];
  ASSERT_EQ(names(chainTree.children), (Names{"a", "z"}));
  EXPECT_TRUE(chainTree.children[0].children[0].children[0].children[0].children.empty());
  const std::vector<MenuDestination>& taken = menu.favorites[2].children;
  ASSERT_EQ(taken.size(), 400u - 6 - 5);
  EXPECT_EQ(taken.back().name, "f388");
  // Depth first: the budget runs out inside the first subtree, before its sibling.
  int budget = 3;
  EXPECT_EQ(names(menuTree(chain, 0, budget, FinderOrder{}, platform).children), Names{"a"});
}

TEST_F(MenuSnapshotTest, DirectRootsAreHomeSharedUsersAndShownVolumesAndAFailureIsNotAnnounced) {
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
  EXPECT_EQ(desktop.notifications, 1);
  // Without a shared folder there is no menu to announce.
  platform.writeInfo(true, "");
  start();
  settle();
  EXPECT_NE(status().find("Cannot open Tessel’s shared folder."), std::string::npos) << status();
  EXPECT_EQ(desktop.notifications, 1);

  // Volumes are the real file systems where file managers show them.
  const std::string table =
      "25 22 8:17 / /media/ana/USB\\040Key rw shared:40 - vfat /dev/sdb1 rw\n"
      "26 22 8:18 / /run/media/ana/Backup rw shared:41 master:2 - ext4 /dev/sdb2 rw\n"
      "27 22 8:19 / /mnt rw - xfs /dev/sdc1 rw\n"
      "28 22 8:20 / /mnt/data rw - btrfs /dev/sdc2 rw\n"
      "29 22 0:50 / /home/ana/.local/share/containers/overlay rw - overlay overlay rw\n"
      "30 22 0:51 / /home/ana/Remote rw - fuse.sshfs host: rw\n"
      "31 22 0:52 / /home/ana/.cache/mount rw - ext4 /dev/sdd1 rw\n"
      "32 22 0:53 / /home/ana rw - ext4 /dev/sde1 rw\n"
      "33 22 0:54 / /home/anab/Disk rw - ext4 /dev/sdf1 rw\n"
      "35 22 0:56 / /srv/data rw - ext4 /dev/sdh1 rw\n"
      "36 22 0:57 / /media/sf_share rw - vboxsf share rw\n"
      "37 22 0:58 / /mnt/scratch rw - tmpfs tmpfs rw\n"
      "38 22 7:1 / /media/ana/image rw - squashfs /dev/loop1 ro\n"
      "malformed line\n";
  EXPECT_EQ(MountedVolumes::candidates(table, "/home/ana"),
            (std::vector<std::string>{"/media/ana/USB Key", "/run/media/ana/Backup", "/mnt",
                                      "/mnt/data", "/home/ana/Remote", "/media/sf_share"}));
}

// While a favourite's listing hangs (a network mount that stopped answering), the host still
// answers: its event loop runs and a request is carried out. The settings changed meanwhile are
// what gets published, once; the overtaken walk publishes nothing.
TEST_F(MenuSnapshotTest, AHangingListingBlocksNothingAndOnlyTheNewestSettingsArePublished) {
  const std::string hanging = temp.folder("home/Remote");
  writeSettings(favoritesAt({hanging}));
  platform.heldListing = hanging;
  platform.listing.hold();
  start();
  bool answered = false;
  QTimer::singleShot(0, [&] { answered = true; });
  EXPECT_TRUE(waitUntil([&] { return answered; }));
  EXPECT_EQ(moveAndWait({temp.file("home/a.txt")}, hanging), true);
  model->setSettings(favoritesAt({temp.folder("home/Local")}));
  model->saveSettings();
  EXPECT_FALSE(model->settled());
  EXPECT_FALSE(platform.fileExists(platform.container + "/menu.json"));
  platform.listing.release();
  EXPECT_EQ(names(publishedMenu().favorites), Names{"Local"});
  EXPECT_EQ(std::ranges::count_if(platform.calls(),
                                  [](const PlatformCall& call) {
                                    return call.operation == FileOperation::write &&
                                           call.path.ends_with("/menu.json");
                                  }),
            1);
  EXPECT_EQ(desktop.notifications, 1);
}

}  // namespace
}  // namespace tessel::testing
