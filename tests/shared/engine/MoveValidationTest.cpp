// Checks that refuse a batch before anything moves (the order they run in, their messages, and
// that a refusal leaves files and journal as they were), then target names under each conflict
// policy.
#include "EngineTest.h"
#include "engine/KeepBothName.h"

namespace tessel::testing {
namespace {

using Strings = std::vector<std::string>;
const std::string kCount = "Select between 1 and 1,000 files.";
const std::string kDestination =
    "No permission to access the destination. Add the folder in settings.";
const std::string kLink = "Symbolic links cannot be moved for safety reasons.";
const std::string kSource = "Add the source’s parent folder to Source Folders.";
const std::string kIntoItself = "A folder cannot be moved into itself or a subfolder.";
const std::string kConflict = "A file with the same name exists. No files have been moved.";

// Puts the destination folder on a volume of its own.
class TwoVolumePlatform : public PlatformWrapper {
 public:
  TwoVolumePlatform(Platform& target, std::string other)
      : PlatformWrapper(target), other_(std::move(other)) {}
  FileAttributes attributesOfItem(const std::string& path) override {
    FileAttributes attributes = PlatformWrapper::attributesOfItem(path);
    if (path.starts_with(other_)) *attributes.device += 1;
    return attributes;
  }

 private:
  std::string other_;
};

class MoveValidationTest : public EngineTest {
 protected:
  // The refusal of a batch, after checking that it moved nothing and wrote no journal.
  std::string refusalOf(const std::function<void()>& call) {
    const auto before = treePicture(temp.path());
    const std::string message = errorOf(call);
    EXPECT_EQ(treePicture(temp.path()), before) << message;
    return message;
  }
  std::string refusalOf(const Strings& items, const std::string& to, const Strings& sourceRoots,
                        const Strings& destinationRoots, MoveEngine* other = nullptr) {
    return refusalOf([&] {
      (other ? *other : engine)
          .move(items, to, sourceRoots, destinationRoots, ConflictPolicy::keepBoth);
    });
  }
};

TEST_F(MoveValidationTest, EachRefusalLeavesEverythingAsItWas) {
  const std::string file = files(1)[0];
  const std::string folder = temp.folder("Sources/Folder");
  const std::string below = temp.folder("Sources/Folder/Below");
  const std::string inner = temp.file("Sources/Folder/inner");
  const Strings s{sources}, d{destination};
  using Message = ::testing::Matcher<std::string>;
  const std::vector<std::tuple<Strings, std::string, Strings, Strings, Message>> cases{
      {{}, "/nowhere", {}, {}, kCount},  // the size comes first
      {Strings(1001, file), destination, s, d, kCount},
      {{file}, destination, s, {}, kDestination},
      {{file}, temp.file("Archive/plain"), s, d, kDestination},
      {{file}, sources, s, d, kDestination},
      {{temp.link("f1", "Sources/link")}, destination, s, d, kLink},
      // Every source is checked before nested ones are dropped.
      {{folder, temp.link("inner", "Sources/Folder/link")}, destination, s, d, kLink},
      {{temp.file("Elsewhere/x")}, destination, s, d, kSource},
      {{sources}, destination, s, d, kSource},
      {{inner}, destination, {}, d, kSource},
      {{folder}, folder, s, s, kIntoItself},
      {{folder}, below, s, s, kIntoItself},
      {{temp.at("Sources/missing")}, destination, s, d, HasSubstr("No such file or directory")},
      {{file, temp.file("Sources/caf\xE9")}, destination, s, d, HasSubstr("UTF-8")},
      {{file}, temp.folder("Archive/caf\xE9"), s, d, HasSubstr("UTF-8")},
  };
  for (const auto& [items, to, sourceRoots, destinationRoots, message] : cases) {
    EXPECT_THAT(refusalOf(items, to, sourceRoots, destinationRoots), message) << to;
  }
  temp.file("Archive/f1");
  EXPECT_EQ(refusalOf([&] { move({file}, ConflictPolicy::cancel); }), kConflict);
  TwoVolumePlatform volumes(platform, destination);
  MoveEngine twoVolumes(journalPath, volumes);
  EXPECT_EQ(refusalOf({file}, destination, s, d, &twoVolumes),
            "Moves are supported within the same volume. Copy files to move them to another "
            "volume.");
  const ScopedLanguage japanese("ja");
  EXPECT_EQ(refusalOf({file}, destination, s, {}),
            "移動先への許可がありません。設定でフォルダを登録してください。");
}

// Duplicates count towards the batch size (a thousand is still allowed) but move once; a root
// equal to an item does not hold it, but a later root that does counts.
TEST_F(MoveValidationTest, OneItemReachedThroughSeveralPathsMovesOnce) {
  const std::string file = files(1)[0];
  temp.link(sources, "Sources/Alias");
  Strings same(997, file);
  same.insert(same.end(), {sources + "/./f1", sources + "/Folder/../f1", sources + "/Alias/f1"});
  EXPECT_EQ(move(same), (MoveResult{1, 0, std::nullopt}));
  const std::string folder = temp.folder("Sources/Folder");
  const std::string inner = temp.file("Sources/Folder/inner");
  const std::string inside = temp.folder("Archive/Inside");
  EXPECT_EQ(engine.move({inner, folder}, inside, {folder, sources}, {destination},
                        ConflictPolicy::keepBoth),
            (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
  EXPECT_TRUE(itemExists(inside + "/Folder/inner", platform));
}

TEST_F(EngineTest, TwinNamesFromTwoFoldersUnderEachPolicy) {
  // a.txt in two source folders; the one whose path sorts first is "A".
  const auto twins = [&] {
    return Strings{temp.file("Sources/B/a.txt", "b"), temp.file("Sources/A/a.txt", "a")};
  };
  const auto contentAt = [&](const std::string& name) {
    return platform.readFile(destination + "/" + name);
  };
  EXPECT_EQ(move(twins()), (MoveResult{2, 0, std::nullopt}));
  EXPECT_EQ(contentAt("a.txt") + contentAt("a (2).txt"), "ab");
  EXPECT_EQ(undo(), 2);
  EXPECT_EQ(move(twins(), ConflictPolicy::skip), (MoveResult{1, 1, std::nullopt}));
  EXPECT_EQ(contentAt("a.txt"), "a");
  EXPECT_FALSE(itemExists(destination + "/a (2).txt", platform));
  EXPECT_EQ(undo(), 1);
  EXPECT_EQ(errorOf([&] { move(twins(), ConflictPolicy::cancel); }), kConflict);
  // Names of the longest length a file system takes: the second one's stem is shortened.
  const std::string longest = std::string(251, 'n') + ".txt";
  Strings longTwins;
  for (const std::string content : {"a", "b"}) {
    // Made under a short name: writing one takes a longer temporary name.
    longTwins.push_back(temp.at("Sources/" + content + "/" + longest));
    platform.moveItem(temp.file("Sources/" + content + "/short", content), longTwins.back());
  }
  EXPECT_EQ(move(longTwins), (MoveResult{2, 0, std::nullopt}));
  EXPECT_EQ(contentAt(longest) + contentAt(std::string(247, 'n') + " (2).txt"), "ab");
}

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
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
           // Past 255 bytes the stem is cut in whole characters; an extension that leaves
           // none of it is cut with it.
           {std::string(251, 'n') + ".txt", std::string(247, 'n') + " (2).txt"},
           {repeated("写", 83) + ".txt", repeated("写", 82) + " (2).txt"},
           {"n." + std::string(252, 'e'), "n." + std::string(249, 'e') + " (2)"},
       }) {
    const std::string numbered = numberedName(splitPathExtension(name), 2);
    EXPECT_EQ(numbered, second);
    EXPECT_LE(numbered.size(), 255u);
  }
  EXPECT_EQ(numberedName(splitPathExtension("a.txt"), 13), "a (13).txt");
  EXPECT_EQ(numberedName(splitPathExtension(std::string(251, 'n') + ".txt"), 13),
            std::string(246, 'n') + " (13).txt");
}

}  // namespace
}  // namespace tessel::testing
