// Failures at every step of a batch and of its undo, injected through the platform: what the
// result, the files and the journal show afterwards, and that an undo always repairs.
#include "EngineTest.h"
#include "engine/ItemIdentity.h"

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
  // Fails the `nth` call of `operation` made once validation is over, so that the fault hits
  // the apply phase of the batch.
  void failDuringApply(FileOperation operation, int nth, int code) {
    auto applying = std::make_shared<bool>(false);
    auto seen = std::make_shared<int>(0);
    platform.addRule([=](const PlatformCall& call) -> std::optional<int> {
      if (call.operation == FileOperation::write) *applying = true;
      if (!*applying || call.operation != operation) return std::nullopt;
      return ++*seen == nth ? std::optional<int>(code) : std::nullopt;
    });
  }
  bool movedAway(int item) { return !itemExists(batch[item - 1], platform); }
  void expectUndoRepairs(std::int64_t movedBack) {
    platform.clearFaults();
    EXPECT_EQ(undo(), movedBack);
    EXPECT_TRUE(storedEntries().empty());
    EXPECT_EQ(items(), before);
  }
};

TEST_F(FaultInjectionTest, ARenameRefusedAtTheThirdItemLeavesItsEntryPending) {
  platform.failNth(FileOperation::move, 3, EACCES);
  const MoveResult result = move(batch);
  EXPECT_EQ(result.moved, 2);
  EXPECT_NE(result.failure.value_or("").find("Permission denied"), std::string::npos);
  const std::vector<MoveEntry> entries = storedEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_FALSE(entries[1].pending);
  EXPECT_TRUE(entries[2].pending);
  EXPECT_TRUE(movedAway(2) && !movedAway(3) && !movedAway(4) && !movedAway(5));
  expectUndoRepairs(2);
}

TEST_F(FaultInjectionTest, AJournalWriteFailingBeforeOrAfterAnItemMoves) {
  for (const int code : {ENOSPC, EIO}) {
    // Writes 5 and 6 are the pending and the committed record of the third item.
    for (const int write : {5, 6}) {
      SCOPED_TRACE(std::to_string(code) + " at write " + std::to_string(write));
      platform.failNth(FileOperation::write, write, code);
      const MoveResult result = move(batch);
      EXPECT_EQ(result.failure,
                errorOf([&] { throw makePlatformError(code, FileOperation::write, journalPath); }));
      const bool thirdMoved = write == 6;
      EXPECT_EQ(result.moved, thirdMoved ? 3 : 2);
      EXPECT_EQ(movedAway(3), thirdMoved);
      EXPECT_FALSE(movedAway(4));
      const std::vector<MoveEntry> entries = storedEntries();
      ASSERT_EQ(entries.size(), thirdMoved ? 3u : 2u);
      EXPECT_EQ(entries.back().pending, thirdMoved);
      expectUndoRepairs(thirdMoved ? 3 : 2);
    }
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

TEST_F(FaultInjectionTest, AnUnreadableIdentityStopsTheBatchBeforeTheItemIsRecorded) {
  failDuringApply(FileOperation::attributes, 3, EIO);
  const MoveResult result = move(batch);
  EXPECT_EQ(result.moved, 2);
  EXPECT_NE(result.failure.value_or("").find("Input/output error"), std::string::npos);
  EXPECT_FALSE(movedAway(3));
  ASSERT_EQ(storedEntries().size(), 2u);
  EXPECT_FALSE(storedEntries().back().pending);
  expectUndoRepairs(2);
}

TEST_F(FaultInjectionTest, AnUnreadableJournalFailsMoveAndUndoButNotDismissal) {
  ASSERT_EQ(move({batch[0]}).moved, 1);
  const std::string journalBefore = platform.readFile(journalPath);
  platform.failWhere(FileOperation::read, journalPath, EIO);
  EXPECT_THROW(move({batch[1]}), PlatformError);
  EXPECT_THROW(undo(), PlatformError);
  EXPECT_FALSE(movedAway(2));
  EXPECT_TRUE(movedAway(1));
  EXPECT_EQ(Platform::standard().readFile(journalPath), journalBefore);
  engine.dismissHistory();
  EXPECT_FALSE(itemExists(journalPath, platform));
}

// Writes atomically but without syncing, so the loops below are not paced by the disk: what
// they check is the order of steps, which a sync does not change.
class UnsyncedPlatform : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  void writeFileAtomically(const std::string& path, std::string_view bytes, Durability) override {
    PlatformWrapper::writeFileAtomically(path, bytes, Durability::atomic);
  }
};

// Every platform call of a move, failed in turn: whatever the engine reports, an undo then
// restores the files exactly. The same for every call of an undo, repaired by the next one.
TEST_F(FaultInjectionTest, FailingEachCallOfAMoveOrAnUndoInTurnLosesNothing) {
  temp.folder("Sources/Folder/Inner");
  temp.file("Sources/Folder/Inner/deep", "deep");
  temp.file("Sources/Other/f1", "twin");
  temp.file("Archive/f2", "already there");
  before = items();
  std::vector<std::string> selection = batch;
  selection.push_back(temp.at("Sources/Folder"));
  selection.push_back(temp.at("Sources/Other/f1"));
  UnsyncedPlatform unsynced(Platform::standard());
  FaultInjectingPlatform platform(unsynced);
  MoveEngine engine(journalPath, platform);
  const auto move = [&] {
    return engine.move(selection, destination, {sources}, {destination}, ConflictPolicy::keepBoth);
  };
  const auto undo = [&] { return engine.undo({sources}, {destination}); };

  platform.clearCalls();
  ASSERT_EQ(move().moved, 7);
  const size_t moveCalls = platform.calls().size();
  platform.clearCalls();
  ASSERT_EQ(undo(), 7);
  const size_t undoCalls = platform.calls().size();
  ASSERT_EQ(items(), before);

  for (size_t nth = 1; nth <= moveCalls; ++nth) {
    SCOPED_TRACE("move call " + std::to_string(nth));
    auto seen = std::make_shared<size_t>(0);
    platform.addRule([=](const PlatformCall&) -> std::optional<int> {
      return ++*seen == nth ? std::optional<int>(EIO) : std::nullopt;
    });
    errorOf([&] { move(); });
    platform.clearFaults();
    EXPECT_EQ(errorOf([&] { undo(); }), "");
    EXPECT_EQ(items(), before);
    const auto journal = engine.journal();
    EXPECT_TRUE(!journal || journal->entries.empty());
  }
  for (size_t nth = 1; nth <= undoCalls; ++nth) {
    SCOPED_TRACE("undo call " + std::to_string(nth));
    ASSERT_EQ(move().moved, 7);
    auto seen = std::make_shared<size_t>(0);
    platform.addRule([=](const PlatformCall&) -> std::optional<int> {
      return ++*seen == nth ? std::optional<int>(ENOSPC) : std::nullopt;
    });
    errorOf([&] { undo(); });
    platform.clearFaults();
    undo();
    EXPECT_EQ(items(), before);
    EXPECT_TRUE(storedEntries().empty());
  }
}

}  // namespace
}  // namespace tessel::testing
