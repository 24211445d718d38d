// Failures at every step of a batch and of its undo, injected through the platform: what the
// result, the files and the journal show afterwards, and that an undo always repairs.
#include <cstring>

#include "EngineTest.h"

namespace tessel::testing {
namespace {

class FaultInjectionTest : public EngineTest {
 protected:
  std::vector<std::string> batch;
  std::map<std::string, std::string> before;

  void SetUp() override {
    batch = files(5);
    before = items();
  }
  bool movedAway(int item) { return !itemExists(batch[item - 1], platform); }
};

// A fault at one step of a batch of five: the third item's rename or the reading of its
// identity (its second read, after the checks), the folder sync or the commit after the
// moves. The result, the stored entries and the files agree, and undo repairs.
TEST_F(FaultInjectionTest, AFaultAtOneStepIsReportedRecordedAndUndoable) {
  struct Case {
    FileOperation operation;
    std::string suffix;
    size_t nth;
    int code, moved;
    size_t entries, pending;
  };
  for (const Case& fault : {Case{FileOperation::move, "/f3", 1, EACCES, 2, 3, 1},
                            Case{FileOperation::attributes, "Sources/f3", 2, EIO, 2, 2, 0},
                            Case{FileOperation::sync, "", 1, EIO, 5, 5, 5},
                            Case{FileOperation::write, "", 2, ENOSPC, 5, 5, 5}}) {
    SCOPED_TRACE(std::to_string(fault.code) + " at call " + std::to_string(fault.nth));
    platform.failNth(fault.operation, fault.nth, fault.code, fault.suffix);
    const MoveResult result = move(batch);
    EXPECT_EQ(result.moved, fault.moved);
    EXPECT_NE(result.failure.value_or("").find(std::strerror(fault.code)), std::string::npos);
    EXPECT_EQ(movedAway(3), fault.moved > 2);
    EXPECT_EQ(movedAway(4), fault.moved > 3);
    const std::vector<MoveEntry> entries = storedEntries();
    ASSERT_EQ(entries.size(), fault.entries);
    const auto pending = std::count_if(entries.begin(), entries.end(),
                                       [](const MoveEntry& entry) { return entry.pending; });
    EXPECT_EQ(static_cast<size_t>(pending), fault.pending);
    if (pending == 1) {
      EXPECT_TRUE(entries.back().pending);
    }
    platform.clearFaults();
    EXPECT_EQ(undo(), fault.moved);
    EXPECT_EQ(items(), before);
  }
}

TEST_F(FaultInjectionTest, ATargetTakenAfterTheChecksIsKeptAndDoesNotBlockUndo) {
  platform.addRule([&](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::move && !itemExists(destination + "/f3", platform)) {
      temp.file("Archive/f3", "someone else's");
    }
    return std::nullopt;
  });
  const MoveResult result = move(batch);
  EXPECT_EQ(result.moved, 2);
  EXPECT_NE(result.failure.value_or("").find("File exists"), std::string::npos);
  EXPECT_EQ(platform.readFile(destination + "/f3"), "someone else's");
  // The third item never left, so undo drops its entry instead of calling its place taken.
  platform.clearFaults();
  EXPECT_EQ(undo(), 2);
  EXPECT_TRUE(storedEntries().empty());
}

TEST_F(FaultInjectionTest, TheFirstWriteFailingKeepsThePreviousBatchUndoable) {
  const std::string earlier = temp.file("Sources/earlier");
  ASSERT_EQ(move({earlier}).moved, 1);
  platform.failNth(FileOperation::write, 1, ENOSPC);
  EXPECT_EQ(move(batch).moved, 0);
  ASSERT_EQ(storedEntries().size(), 1u);
  EXPECT_EQ(storedEntries()[0].source, earlier);
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
  std::vector<std::string> selection;
  size_t moveCalls = 0, undoCalls = 0;

  void SetUp() override {
    FaultInjectionTest::SetUp();
    temp.folder("Sources/Folder/Inner");
    temp.file("Sources/Folder/Inner/deep", "deep");
    temp.file("Sources/Other/f1", "twin");
    temp.file("Archive/f2", "already there");
    before = items();
    selection = batch;
    selection.push_back(temp.at("Sources/Folder"));
    selection.push_back(temp.at("Sources/Other/f1"));
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
  const std::string support = temp.at("Support");
  for (size_t nth = 1; nth <= moveCalls + 1; ++nth) {
    SCOPED_TRACE("power lost at move call " + std::to_string(nth));
    if (itemExists(support, disk)) disk.removeItem(support);
    MoveEngine engine(journalPath, disk);
    disk.losePowerAtCall(nth);
    if (nth <= moveCalls) {
      EXPECT_THROW(moveAll(engine), PowerLoss);
    } else {
      EXPECT_EQ(moveAll(engine).moved, 7);
    }
    EXPECT_EQ(disk.restorePower(), std::vector<std::string>{});
    // What a move left after the power came back: a committed entry names an item that is at
    // its destination, or the folders were not synced before the commit.
    if (const auto journal = MoveEngine(journalPath, disk).journal()) {
      for (const MoveEntry& entry : journal->entries) {
        EXPECT_TRUE(entry.pending || itemExists(entry.destination, disk)) << entry.destination;
      }
    }
    expectRepairedByUndo();
  }
  for (size_t nth = 1; nth <= undoCalls + 1; ++nth) {
    SCOPED_TRACE("power lost at undo call " + std::to_string(nth));
    MoveEngine engine(journalPath, disk);
    ASSERT_EQ(moveAll(engine).moved, 7);
    disk.losePowerAtCall(nth);
    if (nth <= undoCalls) {
      EXPECT_THROW(undoAll(engine), PowerLoss);
    } else {
      EXPECT_EQ(undoAll(engine), 7);
    }
    EXPECT_EQ(disk.restorePower(), std::vector<std::string>{});
    expectRepairedByUndo();
  }
}

}  // namespace
}  // namespace tessel::testing
