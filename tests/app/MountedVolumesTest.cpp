// Which mounts count as volumes a user would want in the menu.
#include <gtest/gtest.h>

#include "model/MountedVolumes.h"

namespace tessel::testing {
namespace {

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

}  // namespace
}  // namespace tessel::testing
