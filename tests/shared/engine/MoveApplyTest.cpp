// How a checked batch moves: target names under each policy, the journal's write-ahead order,
// and the counts.
#include <unistd.h>

#include "EngineTest.h"
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

// A batch of any size costs two durable journal writes: every item is pending on disk before
// the first one moves, and committed only once the folders the items left and entered are
// synced. An undo writes once, after the same syncs.
TEST_F(MoveApplyTest, ABatchIsJournalledOnceBeforeItsMovesAndOnceAfterTheirFoldersAreSynced) {
  std::vector<std::string> steps;
  platform.addRule([&](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::write) {
      steps.push_back(call.durability == Durability::durable ? "write" : "atomic write");
    } else if (call.operation == FileOperation::sync) {
      steps.push_back("sync " + call.path);
    } else if (call.operation == FileOperation::move) {
      steps.push_back("move");
      for (const MoveEntry& entry :
           decodeJson<MoveJournal>(Platform::standard().readFile(journalPath)).entries) {
        steps.back() += entry.pending ? " pending" : " committed";
      }
    }
    return std::nullopt;
  });
  temp.folder("Support/Tessel");  // a journal folder made first is synced too, not counted here
  const std::vector<std::string> three = files(3);
  for (const std::vector<std::string>& batch :
       {std::vector<std::string>{three[0]}, std::vector<std::string>{three[1], three[2]}}) {
    SCOPED_TRACE(batch.size());
    const auto expected = [&](const char* state) {
      std::string move = "move";
      for (size_t i = 0; i < batch.size(); ++i) move += state;
      std::vector<std::string> out(batch.size(), move);
      out.insert(out.end(), {"sync " + destination, "sync " + sources, "write"});
      return out;
    };
    steps.clear();
    move(batch);
    std::vector<std::string> moved = expected(" pending");
    moved.insert(moved.begin(), "write");
    EXPECT_EQ(steps, moved);
    steps.clear();
    undo();
    EXPECT_EQ(steps, expected(" committed"));
  }
}

}  // namespace
}  // namespace tessel::testing
