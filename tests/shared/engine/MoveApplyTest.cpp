// How a checked batch moves: target names under each conflict policy, and the counts.
#include "EngineTest.h"
#include "engine/KeepBothName.h"

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

}  // namespace
}  // namespace tessel::testing
