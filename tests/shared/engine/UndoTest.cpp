// Undo moves the last batch back, last item first, and never overwrites anything.
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
  std::vector<std::string> moved;
  std::map<std::string, std::string> before;

  void SetUp() override {
    moved = files(3);
    before = items();
    ASSERT_EQ(move(moved).moved, 3);
  }
};

TEST_F(UndoTest, MovesBackLastFirstAndLeavesAnEmptyJournal) {
  platform.clearCalls();
  EXPECT_EQ(undo(), 3);
  std::vector<std::string> order;
  for (const PlatformCall& call : platform.calls()) {
    if (call.operation == FileOperation::move) order.push_back(call.secondPath);
  }
  EXPECT_EQ(order, (std::vector<std::string>{moved[2], moved[1], moved[0]}));
  EXPECT_TRUE(storedEntries().empty());
  EXPECT_EQ(items(), before);
  EXPECT_EQ(undo(), 0);
}

// Journals left by a crash: by a batch written around each item, its last entry pending, and
// by a batch written once before its moves and once after, every entry pending. Either blocks a
// new batch, and undo brings back every item by what the files show.
TEST_F(UndoTest, AnyPendingEntryMarksAnInterruptedBatchThatUndoSettles) {
  const MoveJournal done = engine.journal().value();
  for (const std::vector<bool>& pending :
       {std::vector<bool>{false, false, true}, std::vector<bool>{true, true, true},
        std::vector<bool>{true, false, false}}) {
    MoveJournal interrupted = done;
    for (size_t i = 0; i < pending.size(); ++i) interrupted.entries[i].pending = pending[i];
    platform.writeFileAtomically(journalPath, encodeJson(interrupted), Durability::atomic);
    EXPECT_NE(errorOf([&] { move({sources + "/unchecked"}); }).find("An interrupted move"),
              std::string::npos);
    EXPECT_EQ(undo(), 3);
    EXPECT_EQ(items(), before);
    ASSERT_EQ(move(moved).moved, 3);
  }
}

// Undo stops, overwriting nothing, at the first entry (last first) it has no roots for, whose
// item is no longer where it was moved, or whose old place is taken, even with nothing to fill it.
TEST_F(UndoTest, StopsWithoutOverwritingAtTheFirstEntryItCannotMoveBack) {
  EXPECT_EQ(errorOf([&] { engine.undo({}, {destination}); }), kAccess);
  EXPECT_EQ(errorOf([&] { engine.undo({sources}, {sources}); }), kAccess);

  platform.moveItem(destination + "/f3", destination + "/renamed");
  temp.file("Archive/f3", "impostor");
  EXPECT_EQ(errorOf([&] { undo(); }), kReplaced);
  EXPECT_EQ(platform.readFile(destination + "/f3"), "impostor");
  platform.removeItem(destination + "/f3");
  EXPECT_EQ(errorOf([&] { undo(); }), kReplaced) << "neither place holds the item";
  EXPECT_EQ(storedEntries().size(), 3u);

  platform.moveItem(destination + "/renamed", destination + "/f3");
  temp.file("Sources/f1", "newcomer");
  EXPECT_EQ(errorOf([&] { undo(); }), kOccupied);
  EXPECT_EQ(storedEntries().size(), 1u) << "the entries after it were undone";
  EXPECT_EQ(platform.readFile(moved[0]), "newcomer");
  EXPECT_EQ(platform.readFile(destination + "/f1"), "content 1");
  platform.removeItem(destination + "/f1");
  EXPECT_EQ(errorOf([&] { undo(); }), kOccupied);
}

}  // namespace
}  // namespace tessel::testing
