// Undo moves the last batch back and never overwrites anything.
#include "EngineTest.h"
#include "records/RecordCoding.h"

namespace tessel::testing {
namespace {

const std::string kReplaced = "The moved file has been replaced. Undo stopped.";
const std::string kOccupied =
    "Undo stopped because an item with the same name exists at the original location. Nothing "
    "was overwritten.";
const std::string kAccess = "Add the folders again to renew the access needed for undo.";

class UndoTest : public EngineTest {
 protected:
  std::vector<std::string> moved = files(3);

  void SetUp() override { ASSERT_EQ(move(moved).moved, 3); }
  std::string undoError() {
    return errorOf([&] { undo(); });
  }
};

// Undo stops, overwriting nothing, at the first entry (last first) it has no roots for, whose
// item is no longer where it was moved, or whose old place is taken, even with nothing to fill it.
TEST_F(UndoTest, StopsWithoutOverwritingAtTheFirstEntryItCannotMoveBack) {
  EXPECT_EQ(errorOf([&] { engine.undo({}, {destination}); }), kAccess);
  EXPECT_EQ(errorOf([&] { engine.undo({sources}, {sources}); }), kAccess);

  platform.moveItem(destination + "/f3", destination + "/renamed");
  temp.file("Archive/f3", "impostor");
  EXPECT_EQ(undoError(), kReplaced);
  EXPECT_EQ(platform.readFile(destination + "/f3"), "impostor");
  platform.removeItem(destination + "/f3");
  EXPECT_EQ(undoError(), kReplaced) << "neither place holds the item";
  EXPECT_EQ(storedEntries().size(), 3u);

  platform.moveItem(destination + "/renamed", destination + "/f3");
  temp.file("Sources/f1", "newcomer");
  EXPECT_EQ(undoError(), kOccupied);
  EXPECT_EQ(storedEntries().size(), 1u) << "the entries after it were undone";
  EXPECT_EQ(platform.readFile(moved[0]) + platform.readFile(destination + "/f1"),
            "newcomercontent 1");
  platform.removeItem(destination + "/f1");
  EXPECT_EQ(undoError(), kOccupied);
}

// Every item went back, but the journal could not be rewritten: the message says the files are
// back, and one more undo clears the stale record without moving anything.
TEST_F(UndoTest, AnUndoThatCannotRecordItsEndSaysTheFilesAreBack) {
  for (const auto& [language, message] : std::vector<std::pair<const char*, std::string>>{
           {"en",
            "The files are back in place, but the undo history could not be updated "
            "(Cannot write \"" +
                journalPath +
                "\": No space left on device). Choose Undo Move once more to clear the old "
                "record; it moves no files."},
           {"ja", "ファイルは元の場所に戻りましたが、移動履歴を更新できませんでした（「" +
                      journalPath +
                      "」に書き込めません: No space left on device）。もう一度「移動を取り消す」"
                      "を選ぶと古い記録が消えます。ファイルは移動しません。"}}) {
    const ScopedLanguage chosen(language);
    platform.failNth(FileOperation::write, 1, ENOSPC);
    EXPECT_EQ(undoError(), message);
    platform.clearFaults();
    for (const std::string& item : moved) EXPECT_TRUE(itemExists(item, platform)) << item;
    EXPECT_EQ(storedEntries().size(), 3u);
    EXPECT_EQ(undo(), 0);
    EXPECT_TRUE(nothingToUndo(engine));
    ASSERT_EQ(move(moved).moved, 3);
  }
}

// No file is no journal, but an unreadable one is an error that undo and move report and
// leave alone, naming it and the way on: clearing the history (which never reads it).
TEST_F(EngineTest, NoJournalFileIsNoJournalButAnUnreadableOneIsAnError) {
  EXPECT_FALSE(engine.journal().has_value());
  EXPECT_EQ(undo(), 0);
  const std::string entry = R"({"source":"\/a","destination":"\/b","identity":"1:2:0.0")";
  for (const std::string& bytes :
       {std::string(), std::string("{not json"),
        R"({"id":"8D1E4B55-52B2-4C8C-9F3A-0B7B8E7C2F10","date":1.5,"entries":[)" + entry + "}]}"}) {
    temp.file("Support/Tessel/undo.json", bytes);
    EXPECT_THROW(engine.journal(), DecodingError) << bytes;
    const std::string message = "Tessel cannot read its undo history “" + journalPath +
                                "”, so nothing was changed. Click Clear Undo History in Tessel’s "
                                "settings window to move files again (the last move can then no "
                                "longer be undone). " +
                                errorOf([&] { engine.journal(); });
    EXPECT_EQ(errorOf([&] { undo(); }), message) << bytes;
    EXPECT_EQ(errorOf([&] { move(files(1)); }), message);
    EXPECT_THROW(undo(), DecodingError);
    EXPECT_EQ(platform.readFile(journalPath), bytes);
    engine.dismissHistory();
    EXPECT_FALSE(platform.fileExists(journalPath));
  }
  {
    const ScopedLanguage japanese("ja");
    temp.file("Support/Tessel/undo.json", "{not json");
    EXPECT_EQ(errorOf([&] { undo(); }),
              "移動履歴「" + journalPath +
                  "」を読み込めないため、何も変更していません。Tesselの設定ウインドウで「履歴を確"
                  "定」を押すと、再び移動できます（直前の移動は取り消せなくなります）。" +
                  errorOf([&] { engine.journal(); }));
    engine.dismissHistory();
  }
  EXPECT_NO_THROW(engine.dismissHistory());
  // A folder where the journal belongs is not Tessel's to delete.
  platform.createDirectories(journalPath + "/keep", 0755);
  EXPECT_THROW(engine.dismissHistory(), PlatformError);
  EXPECT_TRUE(platform.fileExists(journalPath + "/keep"));
  // A journal the disk cannot read stops undo with the system's error, not "nothing to undo".
  platform.removeItem(journalPath);
  temp.file("Support/Tessel/undo.json", "{}");
  platform.failWhere(FileOperation::read, "undo.json", EIO);
  EXPECT_THROW(undo(), PlatformError);
}

// Each batch replaces the journal as a whole, under a new identifier. An item's identity joins
// its device, inode and birth time.
TEST_F(EngineTest, EachBatchWritesAJournalOfItsOwn) {
  const std::vector<std::string> two = files(2);
  const std::string identity = fileIdentity(two[1], platform);
  platform.fixedNow = Timestamp::kUnixOffset + 1234.5;
  move({two[0]});
  const Uuid first = engine.journal().value().id;
  move({two[1]});
  const Uuid second = engine.journal().value().id;
  EXPECT_NE(second, first);
  EXPECT_EQ(platform.readFile(journalPath),
            encodeJson(MoveJournal{second, {1234.5}, {{two[1], destination + "/f2", identity}}}));
  EXPECT_EQ(identityString({.device = 2049, .inode = 42, .birthTime = 17e8}),
            "2049:42:1700000000.0");
  EXPECT_EQ(errorOf([] { identityString({.device = 2049, .inode = {}, .birthTime = {}}); }),
            "Cannot identify this file.");
}

}  // namespace
}  // namespace tessel::testing
