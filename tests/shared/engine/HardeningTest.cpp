// A folder on the way swapped for a symbolic link after the checks must not redirect a batch:
// items are read and moved relative to folders opened along the checked paths without
// following links, so the swap makes the move fail instead.
#include "EngineTest.h"

namespace tessel::testing {
namespace {

class HardeningTest : public EngineTest {
 protected:
  const std::string outside = temp.folder("Outside");
  const std::string item = temp.file("Sources/Folder/x", "selected");
};

// The destination first, while Outside is empty, so that only the hardening (and not a name
// conflict) can stop the item; then a source folder whose link leads to an unselected "x".
// Each folder is replaced by a link at the last check of the batch: the test for a name
// conflict at the target.
TEST_F(HardeningTest, AFolderSwappedForALinkRedirectsNothing) {
  for (const std::string& folder : {destination, temp.at("Sources/Folder")}) {
    SCOPED_TRACE(folder);
    platform.addRule([&](const PlatformCall& call) -> std::optional<int> {
      if (call.operation == FileOperation::attributes && call.path == destination + "/x" &&
          !itemExists(folder + ".checked", Platform::standard())) {
        Platform::standard().moveItem(folder, folder + ".checked");
        EXPECT_EQ(::symlink(outside.c_str(), folder.c_str()), 0);
      }
      return std::nullopt;
    });
    const MoveResult result = move({item});
    EXPECT_EQ(result.moved, 0);
    EXPECT_THAT(result.failure.value_or(""), HasSubstr("Too many levels of symbolic links"));
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
    EXPECT_THAT(errorOf([&] { platform.moveItemBetween(*folder, "x", *archive, name); }),
                HasSubstr("Invalid argument"))
        << name;
    EXPECT_THROW(platform.attributesOfItemIn(*folder, name), PlatformError) << name;
    EXPECT_FALSE(platform.probeItemIn(*folder, name).has_value()) << name;
  }
  EXPECT_EQ(platform.probeItemIn(*folder, "x")->inode, platform.attributesOfItem(item).inode);
  EXPECT_EQ(platform.readFile(item), "selected");
  EXPECT_THAT(errorOf([&] { platform.openFolderNoFollow(temp.link(outside, "Sources/Link")); }),
              HasSubstr("Too many levels of symbolic links"));
}

}  // namespace
}  // namespace tessel::testing
