// Checks that refuse a batch before anything moves: the order they run in, their messages in
// both languages, and that a refusal leaves files and journal as they were.
#include <unistd.h>

#include "EngineTest.h"
#include "engine/ItemIdentity.h"

namespace tessel::testing {
namespace {

const std::string kCount = "Select between 1 and 1,000 files.";
const std::string kDestination =
    "No permission to access the destination. Add the folder in settings.";
const std::string kInterrupted =
    "An interrupted move is recorded. Undo it, or check the files and clear the undo history.";
const std::string kLink = "Symbolic links cannot be moved for safety reasons.";
const std::string kSource = "Add the source’s parent folder to Source Folders.";
const std::string kIntoItself = "A folder cannot be moved into itself or a subfolder.";
const std::string kVolume =
    "Moves are supported within the same volume. Copy files to move them to another volume.";
const std::string kNameTaken = "A file with the same name exists. No files have been moved.";

class MoveValidationTest : public EngineTest {
 protected:
  // The refusal of a batch, after checking that it moved nothing and wrote no journal.
  std::string refusalOf(const std::function<void()>& call) {
    const auto before = treePicture(temp.path());
    const std::string message = errorOf(call);
    EXPECT_EQ(treePicture(temp.path()), before) << message;
    return message;
  }
  std::string refusalOf(const std::vector<std::string>& items,
                        ConflictPolicy policy = ConflictPolicy::keepBoth) {
    return refusalOf([&] { move(items, policy); });
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

 private:
  std::string otherVolume_;
};

TEST_F(MoveValidationTest, EveryMessageInBothLanguages) {
  const std::string file = files(1)[0];
  const std::string other = temp.file("Elsewhere/x");
  const std::string folder = temp.folder("Sources/Folder");
  const std::string taken = temp.file("Sources/taken");
  temp.file("Archive/taken");
  ASSERT_EQ(::symlink("f1", temp.at("Sources/link").c_str()), 0);
  const std::vector<std::tuple<std::function<void()>, std::string, std::string>> cases{
      {[&] { move({}); }, kCount, "1〜1000件のファイルを選択してください。"},
      {[&] { engine.move({file}, destination, {sources}, {}, ConflictPolicy::keepBoth); },
       kDestination, "移動先への許可がありません。設定でフォルダを登録してください。"},
      {[&] { move({temp.at("Sources/link")}); }, kLink,
       "安全のためシンボリックリンクの移動には対応していません。"},
      {[&] { move({other}); }, kSource,
       "移動元の親フォルダを「操作するフォルダ」に登録してください。"},
      {[&] { engine.move({folder}, folder, {sources}, {sources}, ConflictPolicy::keepBoth); },
       kIntoItself, "フォルダ自身やその中へ移動できません。"},
      {[&] { move({taken}, ConflictPolicy::cancel); }, kNameTaken,
       "同名ファイルがあります。移動は開始していません。"},
  };
  for (const auto& [call, english, japanese] : cases) {
    EXPECT_EQ(refusalOf(call), english);
    const ScopedLanguage inJapanese("ja");
    EXPECT_EQ(refusalOf(call), japanese);
  }
  TwoVolumePlatform volumes(platform, sources);
  MoveEngine twoVolumes(journalPath, volumes);
  const auto otherVolume = [&] {
    twoVolumes.move({file}, destination, {sources}, {destination}, ConflictPolicy::keepBoth);
  };
  EXPECT_EQ(refusalOf(otherVolume), kVolume);
  const ScopedLanguage inJapanese("ja");
  EXPECT_EQ(
      refusalOf(otherVolume),
      "初期版は同じボリューム内の移動に対応しています。別ボリュームにはコピーで移してください。");
}

TEST_F(MoveValidationTest, TheBatchSizeCountsDuplicatesAndComesFirst) {
  const std::string file = files(1)[0];
  EXPECT_EQ(refusalOf(std::vector<std::string>(1001, file)), kCount);
  EXPECT_EQ(refusalOf([&] { engine.move({}, "/nowhere", {}, {}, ConflictPolicy::keepBoth); }),
            kCount);
  // The same item a thousand times, written in different ways, moves once.
  std::vector<std::string> same(998, file);
  same.push_back(sources + "/./f1");
  same.push_back(sources + "/Folder/../f1");
  EXPECT_EQ(move(same), (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
}

TEST_F(MoveValidationTest, TheDestinationMustBeAFolderInsideARoot) {
  const std::string file = files(1)[0];
  const std::string plain = temp.file("Archive/plain");
  const std::string inside = temp.folder("Archive/Inside");
  EXPECT_EQ(refusalOf([&] {
              engine.move({file}, plain, {sources}, {destination}, ConflictPolicy::keepBoth);
            }),
            kDestination);
  EXPECT_EQ(refusalOf([&] {
              engine.move({file}, sources, {sources}, {destination}, ConflictPolicy::keepBoth);
            }),
            kDestination);
  EXPECT_EQ(engine.move({file}, inside, {sources}, {destination}, ConflictPolicy::keepBoth).moved,
            1);
}

TEST_F(MoveValidationTest, AnInterruptedBatchBlocksEveryNewOneUntilDismissed) {
  const std::vector<std::string> items = files(2);
  platform.failNth(FileOperation::move, 1, EIO);
  EXPECT_TRUE(move({items[0]}).failure.has_value());
  platform.clearFaults();
  ASSERT_TRUE(storedEntries().back().pending);

  EXPECT_EQ(refusalOf({items[1]}), kInterrupted);
  EXPECT_EQ(refusalOf([&] {
              engine.move({items[1]}, destination, {sources}, {}, ConflictPolicy::keepBoth);
            }),
            kDestination);
  engine.dismissHistory();
  EXPECT_EQ(move({items[1]}).moved, 1);
}

TEST_F(MoveValidationTest, SourcesMustLieStrictlyInsideASourceRoot) {
  const std::string folder = temp.folder("Sources/Folder");
  const std::string file = temp.file("Sources/Folder/inner");
  EXPECT_EQ(refusalOf([&] {
              engine.move({sources}, destination, {sources}, {destination},
                          ConflictPolicy::keepBoth);
            }),
            kSource);
  EXPECT_EQ(refusalOf([&] {
              engine.move({file}, destination, {}, {destination}, ConflictPolicy::keepBoth);
            }),
            kSource);
  // A root equal to the item does not count, but a later root that holds it does.
  EXPECT_EQ(
      engine.move({folder}, destination, {folder, sources}, {destination}, ConflictPolicy::keepBoth)
          .moved,
      1);
  EXPECT_NE(refusalOf({temp.at("Sources/missing")}).find("No such file or directory"),
            std::string::npos);
}

TEST_F(MoveValidationTest, EverySourceIsCheckedBeforeNestedOnesAreDropped) {
  const std::string folder = temp.folder("Sources/Folder");
  const std::string inner = temp.file("Sources/Folder/inner");
  ASSERT_EQ(::symlink("inner", temp.at("Sources/Folder/link").c_str()), 0);
  EXPECT_EQ(refusalOf({folder, temp.at("Sources/Folder/link")}), kLink);

  EXPECT_EQ(move({inner, folder}), (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
  EXPECT_TRUE(itemExists(destination + "/Folder/inner", platform));

  // The destination inside a selected folder.
  const std::string outer = temp.folder("Sources/Outer");
  const std::string below = temp.folder("Sources/Outer/Below");
  EXPECT_EQ(refusalOf([&] {
              engine.move({outer}, below, {sources}, {sources}, ConflictPolicy::keepBoth);
            }),
            kIntoItself);
}

TEST_F(MoveValidationTest, OneItemReachedThroughTwoPathsMovesOnce) {
  const std::string file = files(1)[0];
  ASSERT_EQ(::symlink(sources.c_str(), temp.at("Sources/Alias").c_str()), 0);
  EXPECT_EQ(move({file, sources + "/Alias/f1"}), (MoveResult{1, 0, std::nullopt}));
  EXPECT_EQ(storedEntries().size(), 1u);
}

TEST_F(MoveValidationTest, AnItemAlreadyInTheDestinationIsSkippedWithoutTouchingTheJournal) {
  const std::vector<std::string> items = files(1);
  move(items);
  const std::string journalBefore = platform.readFile(journalPath);
  EXPECT_EQ(engine.move({destination + "/f1"}, destination, {destination}, {destination},
                        ConflictPolicy::keepBoth),
            (MoveResult{0, 1, std::nullopt}));
  EXPECT_EQ(platform.readFile(journalPath), journalBefore);
  EXPECT_EQ(undo(), 1);
}

TEST_F(MoveValidationTest, ANameThatJsonCannotCarryIsRefusedBeforeAnythingMoves) {
  const std::vector<std::string> items = files(1);
  const std::string odd = temp.file("Sources/caf\xE9");
  EXPECT_NE(refusalOf({items[0], odd}).find("UTF-8"), std::string::npos);
}

TEST_F(MoveValidationTest, ValidationCostGrowsLinearlyWithTheBatch) {
  const std::vector<std::string> items = files(1000);
  for (int i = 1; i <= 1000; ++i) temp.file("Archive/f" + std::to_string(i));
  platform.clearCalls();
  EXPECT_EQ(move(items, ConflictPolicy::skip), (MoveResult{0, 1000, std::nullopt}));
  EXPECT_LT(platform.calls().size(), 20u * 1000u);
}

}  // namespace
}  // namespace tessel::testing
