// Failures at every step of a batch and of its undo, injected through the platform: what the
// result, the files and the journal show afterwards, and that an undo always repairs.
#include <cstring>

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
};

// A fault at the third item: the rename itself, its pending or committed record, or reading its
// identity. The result, the stored entries and the files agree, and undo repairs.
TEST_F(FaultInjectionTest, AFaultAtTheThirdItemIsReportedRecordedAndUndoable) {
  struct Case {
    FileOperation operation;
    int nth, code, moved;
    size_t entries;
    bool lastPending;
  };
  // Writes 5 and 6 are the pending and the committed record of the third item.
  for (const Case& fault : {Case{FileOperation::move, 3, EACCES, 2, 3, true},
                            Case{FileOperation::write, 5, ENOSPC, 2, 2, false},
                            Case{FileOperation::write, 6, EIO, 3, 3, true},
                            Case{FileOperation::attributes, 3, EIO, 2, 2, false}}) {
    SCOPED_TRACE(std::to_string(fault.code) + " at call " + std::to_string(fault.nth));
    failDuringApply(fault.operation, fault.nth, fault.code);
    const MoveResult result = move(batch);
    EXPECT_EQ(result.moved, fault.moved);
    EXPECT_NE(result.failure.value_or("").find(std::strerror(fault.code)), std::string::npos);
    EXPECT_EQ(movedAway(3), fault.moved == 3);
    EXPECT_FALSE(movedAway(4));
    const std::vector<MoveEntry> entries = storedEntries();
    ASSERT_EQ(entries.size(), fault.entries);
    EXPECT_EQ(entries.back().pending, fault.lastPending);
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
