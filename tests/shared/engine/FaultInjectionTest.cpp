// Failures at every step of a batch and of its undo, injected through the platform: what the
// result, the files and the journal show afterwards, and that an undo always repairs.
#include <cstring>

#include "EngineTest.h"

namespace tessel::testing {
namespace {

class FaultInjectionTest : public EngineTest {
 protected:
  std::vector<std::string> batch = files(5);
  std::map<std::string, std::string> before = items();
};

// A fault at one step of a batch of five: the third item's rename (an error that may hide a
// rename done, then one that proves nothing moved), the reading of its identity (its second
// read, after the checks) or its last read before the rename, the folder sync or the commit
// after the moves. The result, the stored entries and the files agree, and undo repairs.
TEST_F(FaultInjectionTest, AFaultAtOneStepIsReportedRecordedAndUndoable) {
  struct Case {
    FileOperation operation;
    std::string suffix;
    size_t nth;
    int code, moved, entries, pending;
  };
  for (const Case& fault : {Case{FileOperation::move, "/f3", 1, EACCES, 2, 3, 1},
                            Case{FileOperation::move, "/f3", 1, ENOENT, 2, 2, 0},
                            Case{FileOperation::attributes, "Sources/f3", 2, EIO, 2, 2, 0},
                            Case{FileOperation::attributes, "Sources/f3", 3, EIO, 2, 2, 0},
                            Case{FileOperation::sync, "", 1, EIO, 5, 5, 5},
                            Case{FileOperation::write, "", 2, ENOSPC, 5, 5, 5}}) {
    SCOPED_TRACE(std::to_string(fault.code) + " at call " + std::to_string(fault.nth));
    platform.failNth(fault.operation, fault.nth, fault.code, fault.suffix);
    const MoveResult result = move(batch);
    EXPECT_EQ(result.moved, fault.moved);
    EXPECT_THAT(result.failure.value_or(""), HasSubstr(std::strerror(fault.code)));
    for (int item = 3; item <= 4; ++item) {
      EXPECT_EQ(!itemExists(batch[item - 1], platform), fault.moved >= item);
    }
    const std::vector<MoveEntry> entries = storedEntries();
    ASSERT_EQ(static_cast<int>(entries.size()), fault.entries);
    EXPECT_EQ(std::ranges::count(entries, true, &MoveEntry::pending), fault.pending);
    EXPECT_TRUE(fault.pending != 1 || entries.back().pending);
    platform.clearFaults();
    EXPECT_EQ(undo(), fault.moved);
    EXPECT_EQ(items(), before);
  }
}

// Another program changes the fifth source while the batch runs: it renames it away and puts a
// link, another file or nothing in its place, just before the fourth item's rename or its own.
// A link stops the batch as any link would, a missing source with the system's error, and
// neither leaves an entry pending that undo could not settle; another file moves and goes back
// as the item it is. Undo then restores every item that moved.
TEST_F(FaultInjectionTest, ASourceChangedDuringTheBatchStaysUndoable) {
  const std::string fifth = batch[4], away = fifth + ".away";
  struct Case {
    std::string before;       // the rename just before which the fifth source changes
    std::string replacement;  // what takes its place: "link", "file", or nothing
    int moved;
    std::string failure;
  };
  for (const Case& change :
       {Case{"/f4", "link", 4, "Symbolic links cannot be moved for safety reasons."},
        Case{"/f5", "link", 4, "Symbolic links cannot be moved for safety reasons."},
        Case{"/f4", "", 4, std::strerror(ENOENT)}, Case{"/f5", "", 4, std::strerror(ENOENT)},
        Case{"/f4", "file", 5, ""}}) {
    SCOPED_TRACE(change.replacement + " before " + change.before);
    platform.addRule([&](const PlatformCall& call) -> std::optional<int> {
      if (call.operation == FileOperation::move && call.path.ends_with(change.before) &&
          !itemExists(away, Platform::standard())) {
        Platform::standard().moveItem(fifth, away);
        if (change.replacement == "link") temp.link(temp.at("Outside"), "Sources/f5");
        if (change.replacement == "file") temp.file("Sources/f5", "impostor");
      }
      return std::nullopt;
    });
    const MoveResult result = move(batch);
    platform.clearFaults();
    EXPECT_EQ(result.moved, change.moved);
    EXPECT_THAT(result.failure.value_or(""), HasSubstr(change.failure));
    EXPECT_EQ(storedEntries().size(), static_cast<size_t>(change.moved));
    EXPECT_EQ(std::ranges::count(storedEntries(), true, &MoveEntry::pending), 0);
    EXPECT_EQ(errorOf([&] { EXPECT_EQ(undo(), change.moved); }), "");

    std::map<std::string, std::string> expected = before, restored = items();
    expected["Sources/f5.away"] = expected["Sources/f5"];
    expected.erase("Sources/f5");
    const std::string inPlace = restored["Sources/f5"];
    restored.erase("Sources/f5");
    EXPECT_EQ(restored, expected);
    EXPECT_EQ(inPlace.empty(), change.replacement.empty()) << inPlace;
    EXPECT_THAT(inPlace, HasSubstr(change.replacement));
    if (itemExists(fifth, platform)) platform.removeItem(fifth);
    platform.moveItem(away, fifth);
  }
}

// Writes atomically but without syncing, so the loops below are not paced by the disk: what
// they check is the order of steps, which a sync does not change. Power losses are played by
// the fault-injecting platform above it, which knows what a real sync would have kept.
class UnsyncedPlatform : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  void writeFileAtomically(const std::string& path, std::string_view bytes, Durability) override {
    PlatformWrapper::writeFileAtomically(path, bytes, Durability::atomic);
  }
  void syncFolder(const OpenFolder&) override {}
};

// A batch of files, a folder, a twin name and a name already taken in the destination, and the
// number of platform calls that moving it and undoing it make.
class EveryCallTest : public FaultInjectionTest {
 protected:
  UnsyncedPlatform unsynced{Platform::standard()};
  FaultInjectingPlatform disk{unsynced};
  std::vector<std::string> selection = batch;
  size_t moveCalls = 0, undoCalls = 0;

  void SetUp() override {
    temp.file("Sources/Folder/Inner/deep", "deep");
    temp.file("Sources/Other/f1", "twin");
    temp.file("Archive/f2", "already there");
    before = items();
    selection.insert(selection.end(), {temp.at("Sources/Folder"), temp.at("Sources/Other/f1")});
    MoveEngine engine(journalPath, disk);
    disk.clearCalls();
    ASSERT_EQ(moveAll(engine).moved, 7);
    moveCalls = disk.calls().size();
    disk.clearCalls();
    ASSERT_EQ(undoAll(engine), 7);
    undoCalls = disk.calls().size();
    ASSERT_EQ(items(), before);
  }
  MoveResult moveAll(MoveEngine& engine) {
    return engine.move(selection, destination, {sources}, {destination}, ConflictPolicy::keepBoth);
  }
  std::int64_t undoAll(MoveEngine& engine) { return engine.undo({sources}, {destination}); }
  // An undo by a fresh engine, as after a restart, must leave the tree as it was before the
  // batch and nothing to undo.
  void expectRepairedByUndo() {
    MoveEngine restarted(journalPath, disk);
    EXPECT_EQ(errorOf([&] { undoAll(restarted); }), "");
    EXPECT_EQ(items(), before);
    EXPECT_TRUE(nothingToUndo(restarted));
  }
};

// Every platform call of a move, failed in turn: whatever the engine reports, an undo then
// restores the files exactly. The same for every call of an undo, repaired by the next one.
TEST_F(EveryCallTest, FailingEachCallOfAMoveOrAnUndoInTurnLosesNothing) {
  MoveEngine engine(journalPath, disk);
  for (size_t nth = 1; nth <= moveCalls; ++nth) {
    SCOPED_TRACE("move call " + std::to_string(nth));
    disk.failNth(std::nullopt, nth, EIO);
    errorOf([&] { moveAll(engine); });
    disk.clearFaults();
    expectRepairedByUndo();
  }
  for (size_t nth = 1; nth <= undoCalls; ++nth) {
    SCOPED_TRACE("undo call " + std::to_string(nth));
    ASSERT_EQ(moveAll(engine).moved, 7);
    disk.failNth(std::nullopt, nth, ENOSPC);
    errorOf([&] { undoAll(engine); });
    disk.clearFaults();
    expectRepairedByUndo();
  }
}

// Power lost at every platform call of a move (the journal's folder not made yet), then at every
// call of an undo, and just after each ends: the changes not yet synced are gone, and an undo
// after the restart still restores every name, content and inode without overwriting anything.
TEST_F(EveryCallTest, LosingPowerAtEachCallOfAMoveOrAnUndoLosesNothing) {
  for (size_t nth = 1; nth <= moveCalls + undoCalls + 2; ++nth) {
    const bool moving = nth <= moveCalls + 1;
    const size_t at = moving ? nth : nth - moveCalls - 1, calls = moving ? moveCalls : undoCalls;
    SCOPED_TRACE((moving ? "power lost at move call " : "power lost at undo call ") +
                 std::to_string(at));
    if (moving && itemExists(temp.at("Support"), disk)) disk.removeItem(temp.at("Support"));
    MoveEngine engine(journalPath, disk);
    if (!moving) {
      ASSERT_EQ(moveAll(engine).moved, 7);
    }
    disk.losePowerAtCall(at);
    const auto run = [&] { return moving ? moveAll(engine).moved : undoAll(engine); };
    if (at <= calls) {
      EXPECT_THROW(run(), PowerLoss);
    } else {
      EXPECT_EQ(run(), 7);
    }
    disk.restorePower();
    // What a move left after the power came back: a committed entry names an item that is at
    // its destination, or the folders were not synced before the commit.
    if (const auto journal = MoveEngine(journalPath, disk).journal(); moving && journal) {
      for (const MoveEntry& entry : journal->entries) {
        EXPECT_TRUE(entry.pending || itemExists(entry.destination, disk)) << entry.destination;
      }
    }
    expectRepairedByUndo();
  }
}

}  // namespace
}  // namespace tessel::testing
