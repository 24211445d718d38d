// A folder on the way swapped for a symbolic link after the checks must not redirect a batch:
// items are read and moved relative to folders opened along the checked paths without
// following links, so the swap makes the move fail instead.
#include <unistd.h>

#include "EngineTest.h"

namespace tessel::testing {
namespace {

class HardeningTest : public EngineTest {
 protected:
  const std::string outside = temp.folder("Outside");
  const std::string item = temp.file("Sources/Folder/x", "selected");

  // Replaces `folder` by a link to Outside at the last check of a one-item batch: the test
  // for a name conflict at the target.
  void swapAfterChecks(const std::string& folder) {
    platform.addRule([this, folder](const PlatformCall& call) -> std::optional<int> {
      if (call.operation == FileOperation::attributes && call.path == destination + "/x" &&
          !itemExists(folder + ".checked", Platform::standard())) {
        Platform::standard().moveItem(folder, folder + ".checked");
        EXPECT_EQ(::symlink(outside.c_str(), folder.c_str()), 0);
      }
      return std::nullopt;
    });
  }
};

// The destination first, while Outside is empty, so that only the hardening (and not a name
// conflict) can stop the item; then a source folder whose link leads to an unselected "x".
TEST_F(HardeningTest, AFolderSwappedForALinkRedirectsNothing) {
  for (const std::string& folder : {destination, temp.at("Sources/Folder")}) {
    SCOPED_TRACE(folder);
    swapAfterChecks(folder);
    const MoveResult result = move({item});
    EXPECT_EQ(result.moved, 0);
    EXPECT_NE(result.failure.value_or("").find("Too many levels of symbolic links"),
              std::string::npos);
    EXPECT_EQ(platform.contentsOfDirectory(outside).size(), folder == destination ? 0u : 1u);
    // A pending entry of the refused move is dropped by undo.
    platform.clearFaults();
    EXPECT_EQ(undo(), 0);
    EXPECT_TRUE(nothingToUndo(engine));
    ASSERT_EQ(::unlink(folder.c_str()), 0);
    platform.moveItem(folder + ".checked", folder);
    temp.file("Outside/x", "not selected");
  }
  EXPECT_EQ(platform.readFile(item), "selected");
  EXPECT_FALSE(itemExists(destination + "/x", platform));
}

TEST_F(HardeningTest, AnOpenFolderOnlyReachesItsOwnEntries) {
  const auto folder = platform.openFolderNoFollow(temp.at("Sources/Folder"));
  const auto archive = platform.openFolderNoFollow(destination);
  for (const std::string name : {"..", ".", "", "../Folder/x"}) {
    EXPECT_NE(errorOf([&] {
                platform.moveItemBetween(*folder, "x", *archive, name);
              }).find("Invalid argument"),
              std::string::npos)
        << name;
    EXPECT_THROW(platform.attributesOfItemIn(*folder, name), PlatformError) << name;
    EXPECT_FALSE(platform.probeItemIn(*folder, name).has_value()) << name;
  }
  EXPECT_EQ(platform.probeItemIn(*folder, "x")->inode, platform.attributesOfItem(item).inode);
  EXPECT_EQ(platform.readFile(item), "selected");
  ASSERT_EQ(::symlink(outside.c_str(), temp.at("Sources/Link").c_str()), 0);
  EXPECT_NE(errorOf([&] {
              platform.openFolderNoFollow(temp.at("Sources/Link"));
            }).find("Too many levels of symbolic links"),
            std::string::npos);
}

}  // namespace
}  // namespace tessel::testing
