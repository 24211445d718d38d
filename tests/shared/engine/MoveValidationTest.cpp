// Checks that refuse a batch before anything moves: the order they run in, their messages, and
// that a refusal leaves files and journal as they were.
#include <unistd.h>

#include "EngineTest.h"
#include "path/PathText.h"

namespace tessel::testing {
namespace {

const std::string kCount = "Select between 1 and 1,000 files.";
const std::string kDestination =
    "No permission to access the destination. Add the folder in settings.";
const std::string kLink = "Symbolic links cannot be moved for safety reasons.";
const std::string kSource = "Add the source’s parent folder to Source Folders.";
const std::string kIntoItself = "A folder cannot be moved into itself or a subfolder.";

class MoveValidationTest : public EngineTest {
 protected:
  // The refusal of a batch, after checking that it moved nothing and wrote no journal.
  std::string refusalOf(const std::function<void()>& call) {
    const auto before = treePicture(temp.path());
    const std::string message = errorOf(call);
    EXPECT_EQ(treePicture(temp.path()), before) << message;
    return message;
  }
  std::string refusalOf(const std::vector<std::string>& items, const std::string& to,
                        const std::vector<std::string>& sourceRoots,
                        const std::vector<std::string>& destinationRoots) {
    return refusalOf(
        [&] { engine.move(items, to, sourceRoots, destinationRoots, ConflictPolicy::keepBoth); });
  }
};

// Reports a different volume for every item under one folder.
class TwoVolumePlatform : public PlatformWrapper {
 public:
  TwoVolumePlatform(Platform& target, std::string otherVolume)
      : PlatformWrapper(target), otherVolume_(std::move(otherVolume)) {}
  FileAttributes attributesOfItem(const std::string& path) override {
    FileAttributes attributes = PlatformWrapper::attributesOfItem(path);
    if (path.starts_with(otherVolume_)) *attributes.device += 1;
    return attributes;
  }
  std::optional<FileAttributes> probeItemIn(const OpenFolder& folder,
                                            const std::string& name) override {
    std::optional<FileAttributes> attributes = PlatformWrapper::probeItemIn(folder, name);
    if (attributes && joinPath(folder.path(), name).starts_with(otherVolume_)) {
      *attributes->device += 1;
    }
    return attributes;
  }

 private:
  std::string otherVolume_;
};

TEST_F(MoveValidationTest, EachRefusalLeavesEverythingAsItWas) {
  const std::string file = files(1)[0];
  const std::string folder = temp.folder("Sources/Folder");
  const std::string below = temp.folder("Sources/Folder/Below");
  const std::string inner = temp.file("Sources/Folder/inner");
  const std::string plain = temp.file("Archive/plain");
  ASSERT_EQ(::symlink("f1", temp.at("Sources/link").c_str()), 0);
  ASSERT_EQ(::symlink("inner", temp.at("Sources/Folder/link").c_str()), 0);
  const std::vector<std::string> s{sources}, d{destination};
  const std::vector<std::tuple<std::vector<std::string>, std::string, std::vector<std::string>,
                               std::vector<std::string>, std::string>>
      cases{
          {{}, "/nowhere", {}, {}, kCount},  // the size comes first
          {std::vector<std::string>(1001, file), destination, s, d, kCount},
          {{file}, destination, s, {}, kDestination},
          {{file}, plain, s, d, kDestination},
          {{file}, sources, s, d, kDestination},
          {{temp.at("Sources/link")}, destination, s, d, kLink},
          // Every source is checked before nested ones are dropped.
          {{folder, temp.at("Sources/Folder/link")}, destination, s, d, kLink},
          {{temp.file("Elsewhere/x")}, destination, s, d, kSource},
          {{sources}, destination, s, d, kSource},
          {{inner}, destination, {}, d, kSource},
          {{folder}, folder, s, s, kIntoItself},
          {{folder}, below, s, s, kIntoItself},
      };
  for (const auto& [items, to, sourceRoots, destinationRoots, message] : cases) {
    EXPECT_EQ(refusalOf(items, to, sourceRoots, destinationRoots), message) << to;
  }
  EXPECT_NE(
      refusalOf({temp.at("Sources/missing")}, destination, s, d).find("No such file or directory"),
      std::string::npos);
  EXPECT_NE(refusalOf({file, temp.file("Sources/caf\xE9")}, destination, s, d).find("UTF-8"),
            std::string::npos);
  EXPECT_NE(refusalOf({file}, temp.folder("Archive/caf\xE9"), s, d).find("UTF-8"),
            std::string::npos);
  temp.file("Archive/f1");
  EXPECT_EQ(refusalOf([&] { move({file}, ConflictPolicy::cancel); }),
            "A file with the same name exists. No files have been moved.");

  TwoVolumePlatform volumes(platform, sources);
  MoveEngine twoVolumes(journalPath, volumes);
  EXPECT_EQ(
      refusalOf([&] { twoVolumes.move({file}, destination, s, d, ConflictPolicy::keepBoth); }),
      "Moves are supported within the same volume. Copy files to move them to another "
      "volume.");
  const ScopedLanguage japanese("ja");
  EXPECT_EQ(refusalOf({file}, destination, s, {}),
            "移動先への許可がありません。設定でフォルダを登録してください。");
}

TEST_F(MoveValidationTest, OneItemReachedThroughSeveralPathsMovesOnce) {
  const std::string file = files(1)[0];
  ASSERT_EQ(::symlink(sources.c_str(), temp.at("Sources/Alias").c_str()), 0);
  // The batch size counts duplicates: a thousand is still allowed.
  std::vector<std::string> same(997, file);
  same.push_back(sources + "/./f1");
  same.push_back(sources + "/Folder/../f1");
  same.push_back(sources + "/Alias/f1");
  EXPECT_EQ(move(same), (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
}

TEST_F(MoveValidationTest, NestedSelectionsAndDestinationsInsideARoot) {
  const std::string folder = temp.folder("Sources/Folder");
  const std::string inner = temp.file("Sources/Folder/inner");
  const std::string inside = temp.folder("Archive/Inside");
  // A root equal to the item does not count, but a later root that holds it does.
  EXPECT_EQ(engine.move({inner, folder}, inside, {folder, sources}, {destination},
                        ConflictPolicy::keepBoth),
            (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
  EXPECT_TRUE(itemExists(inside + "/Folder/inner", platform));
}

TEST_F(MoveValidationTest, AnInterruptedBatchBlocksEveryNewOneUntilDismissed) {
  const std::vector<std::string> items = files(2);
  platform.failNth(FileOperation::move, 1, EIO);
  EXPECT_TRUE(move({items[0]}).failure.has_value());
  platform.clearFaults();
  ASSERT_TRUE(storedEntries().back().pending);

  EXPECT_EQ(refusalOf([&] { move({items[1]}); }),
            "An interrupted move is recorded. Undo it, or check the files and clear the undo "
            "history.");
  EXPECT_EQ(refusalOf({items[1]}, destination, {sources}, {}), kDestination);
  engine.dismissHistory();
  EXPECT_EQ(move({items[1]}).moved, 1);
}

TEST_F(MoveValidationTest, AnItemAlreadyInTheDestinationIsSkippedWithoutTouchingTheJournal) {
  move(files(1));
  const std::string journalBefore = platform.readFile(journalPath);
  EXPECT_EQ(engine.move({destination + "/f1"}, destination, {destination}, {destination},
                        ConflictPolicy::keepBoth),
            (MoveResult{0, 1, std::nullopt}));
  EXPECT_EQ(platform.readFile(journalPath), journalBefore);
  EXPECT_EQ(undo(), 1);
}

}  // namespace
}  // namespace tessel::testing
