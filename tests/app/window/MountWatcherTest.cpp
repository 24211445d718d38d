// A mount and an unmount are each reported, once. Mounting needs privileges: without them the
// test is skipped.
#include <sys/mount.h>

#include "TempFolder.h"
#include "WindowTestSession.h"
#include "window/MountWatcher.h"

namespace tessel::testing {
namespace {

TEST(MountWatcherTest, EachMountAndUnmountIsReportedOnce) {
  MountWatcher watcher;
  ASSERT_TRUE(watcher.watching());
  int changes = 0;
  QObject::connect(&watcher, &MountWatcher::mountsChanged, [&] { ++changes; });
  TempFolder temp;
  const std::string point = temp.folder("volume");
  if (::mount("tessel-test", point.c_str(), "tmpfs", 0, "size=1m") != 0) {
    GTEST_SKIP() << "cannot mount here";
  }
  EXPECT_TRUE(waitUntil([&] { return changes == 1; }));
  ::umount(point.c_str());
  EXPECT_TRUE(waitUntil([&] { return changes == 2; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tessel::testing
