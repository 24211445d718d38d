// How a checked batch moves: target names under each policy, the journal's write-ahead order,
// and the counts.
#include "EngineTest.h"
#include "engine/KeepBothName.h"
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
  EXPECT_EQ(contentAt("a.txt") + contentAt("a (2).txt"), "ab");
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
  link("nowhere", "Archive/Photos");
  link("nowhere", "Archive/.bashrc");
  const std::string photos = temp.folder("Sources/Photos");
  EXPECT_EQ(move({twins()[1], photos, temp.file("Sources/.bashrc", "rc")}).moved, 3);
  EXPECT_EQ(contentAt("a (3).txt") + contentAt("a.txt") + contentAt(".bashrc (2)"), "aoldrc");
  EXPECT_TRUE(itemExists(destination + "/Photos (2)", platform));
  EXPECT_EQ(platform.readSymbolicLink(destination + "/Photos"), "nowhere");
}

// Numbers go before the extension the desktop would show; text after the last dot is not
// always an extension (hidden files, spaces, a trailing dot, bidirectional controls).
TEST(KeepBothNameTest, NumbersGoBeforeTheVisibleExtension) {
  for (const auto& [name, second] : std::vector<std::pair<std::string, std::string>>{
           {"archive.tar.gz", "archive.tar (2).gz"},
           {"README", "README (2)"},
           {"写真.jpeg", "写真 (2).jpeg"},
           {".bashrc", ".bashrc (2)"},
           {".config.json", ".config (2).json"},
           {"notes.final draft", "notes.final draft (2)"},
           {"ends with dot.", "ends with dot. (2)"},
           {"..hidden.txt", "..hidden.txt (2)"},
           {"name.\xE2\x80\x8Etxt", "name.\xE2\x80\x8Etxt (2)"},  // U+200E
           {"name.t\xD8\x9C", "name.t\xD8\x9C (2)"},              // U+061C
       }) {
    EXPECT_EQ(numberedName(splitPathExtension(name), 2), second);
  }
  EXPECT_EQ(numberedName(splitPathExtension("a.txt"), 13), "a (13).txt");
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
    const auto expected = [&](const char* state, bool moving) {
      std::string move = "move";
      for (size_t i = 0; i < batch.size(); ++i) move += state;
      std::vector<std::string> out(batch.size(), move);
      out.insert(out.end(), {"sync " + destination, "sync " + sources, "write"});
      if (moving) out.insert(out.begin(), "write");
      return out;
    };
    steps.clear();
    move(batch);
    EXPECT_EQ(steps, expected(" pending", true));
    steps.clear();
    undo();
    EXPECT_EQ(steps, expected(" committed", false));
  }
}

}  // namespace
}  // namespace tessel::testing
