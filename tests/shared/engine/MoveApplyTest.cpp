// How a checked batch moves: target names under each policy, the journal's write-ahead order,
// and the counts.
#include <unistd.h>

#include "EngineTest.h"
#include "engine/ItemIdentity.h"
#include "records/RecordCoding.h"

namespace tessel::testing {
namespace {

class MoveApplyTest : public EngineTest {
 protected:
  // a.txt in two source folders; the one whose path sorts first is "A".
  std::vector<std::string> twins() {
    return {temp.file("Sources/B/a.txt", "b"), temp.file("Sources/A/a.txt", "a")};
  }
  std::string contentAt(const std::string& name) {
    return platform.readFile(destination + "/" + name);
  }
};

TEST_F(MoveApplyTest, TwinNamesFromTwoFoldersUnderEachPolicy) {
  EXPECT_EQ(move(twins()), (MoveResult{2, 0, std::nullopt}));
  EXPECT_EQ(contentAt("a.txt"), "a");
  EXPECT_EQ(contentAt("a (2).txt"), "b");
  EXPECT_EQ(undo(), 2);

  EXPECT_EQ(move(twins(), ConflictPolicy::skip), (MoveResult{1, 1, std::nullopt}));
  EXPECT_EQ(contentAt("a.txt"), "a");
  EXPECT_FALSE(itemExists(destination + "/a (2).txt", platform));
  EXPECT_EQ(undo(), 1);

  EXPECT_EQ(errorOf([&] { move(twins(), ConflictPolicy::cancel); }),
            "A file with the same name exists. No files have been moved.");
}

TEST_F(MoveApplyTest, KeepBothTakesTheFirstFreeNumberAndCountsDanglingLinksAsTaken) {
  temp.file("Archive/a.txt", "old");
  temp.file("Archive/a (2).txt", "old 2");
  ASSERT_EQ(::symlink("nowhere", temp.at("Archive/Photos").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", temp.at("Archive/.bashrc").c_str()), 0);
  const std::string photos = temp.folder("Sources/Photos");
  const std::string bashrc = temp.file("Sources/.bashrc", "rc");
  EXPECT_EQ(move({twins()[1], photos, bashrc}).moved, 3);
  EXPECT_EQ(contentAt("a (3).txt"), "a");
  EXPECT_EQ(contentAt("a.txt"), "old");
  EXPECT_EQ(contentAt(".bashrc (2)"), "rc");
  EXPECT_TRUE(itemExists(destination + "/Photos (2)", platform));
  EXPECT_EQ(platform.readSymbolicLink(destination + "/Photos"), "nowhere");
}

TEST_F(MoveApplyTest, EachItemMovesOnlyAfterItsPendingEntryIsDurablyWritten) {
  const std::vector<std::string> batch = files(2);
  std::vector<std::string> seenAtMove;
  platform.addRule([&](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::move) {
      const MoveEntry last =
          decodeJson<MoveJournal>(Platform::standard().readFile(journalPath)).entries.back();
      seenAtMove.push_back(last.destination + (last.pending ? " pending" : " committed"));
    }
    return std::nullopt;
  });
  platform.clearCalls();
  move(batch);
  std::vector<std::string> steps;
  for (const PlatformCall& call : platform.calls()) {
    if (call.operation == FileOperation::write) {
      EXPECT_EQ(call.durability, Durability::durable);
      steps.push_back("write");
    } else if (call.operation == FileOperation::move) {
      steps.push_back("move");
    }
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"write", "move", "write", "write", "move", "write"}));
  EXPECT_EQ(seenAtMove,
            (std::vector<std::string>{destination + "/f1 pending", destination + "/f2 pending"}));
  EXPECT_FALSE(storedEntries()[1].pending);
}

}  // namespace
}  // namespace tessel::testing
