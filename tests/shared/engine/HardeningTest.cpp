// A folder on the way swapped for a symbolic link after the checks must not redirect a batch:
// items are read and moved relative to folders opened along the checked paths without
// following links, so the swap makes the move fail instead.
#include <unistd.h>

#include "EngineTest.h"
#include "engine/ItemIdentity.h"

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

TEST_F(HardeningTest, ADestinationSwappedForALinkReceivesNothing) {
  swapAfterChecks(destination);
  const MoveResult result = move({item});
  EXPECT_EQ(result.moved, 0);
  EXPECT_NE(result.failure.value_or("").find("Too many levels of symbolic links"),
            std::string::npos);
  EXPECT_TRUE(platform.contentsOfDirectory(outside).empty());
  EXPECT_EQ(platform.readFile(item), "selected");
  // The pending entry of the refused move is dropped by undo.
  platform.clearFaults();
  EXPECT_EQ(undo(), 0);
  EXPECT_TRUE(storedEntries().empty());
}

TEST_F(HardeningTest, ASourceFolderSwappedForALinkGivesUpNothingOfTheLinkedFolder) {
  temp.file("Outside/x", "not selected");
  swapAfterChecks(temp.at("Sources/Folder"));
  const MoveResult result = move({item});
  EXPECT_EQ(result.moved, 0);
  EXPECT_NE(result.failure.value_or("").find("Too many levels of symbolic links"),
            std::string::npos);
  EXPECT_EQ(platform.readFile(temp.at("Outside/x")), "not selected");
  EXPECT_FALSE(itemExists(destination + "/x", platform));
  EXPECT_FALSE(engine.journal().has_value()) << "nothing was recorded";
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
  }
  EXPECT_EQ(platform.readFile(item), "selected");
  ASSERT_EQ(::symlink(outside.c_str(), temp.at("Sources/Link").c_str()), 0);
  EXPECT_NE(errorOf([&] {
              platform.openFolderNoFollow(temp.at("Sources/Link"));
            }).find("Too many levels of symbolic links"),
            std::string::npos);
}

}  // namespace
}  // namespace tessel::testing
