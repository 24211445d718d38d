#include "engine/MoveEngine.h"

#include <algorithm>
#include <cerrno>

#include "engine/ItemIdentity.h"
#include "engine/JournalText.h"
#include "engine/MovePlanner.h"
#include "engine/MoveRefusal.h"
#include "engine/PinnedFolders.h"
#include "path/PathText.h"
#include "platform/PlatformError.h"
#include "records/RecordCoding.h"

namespace tessel {
namespace {

bool hasPendingEntry(const MoveJournal& journal) {
  return std::any_of(journal.entries.begin(), journal.entries.end(),
                     [](const MoveEntry& entry) { return entry.pending; });
}

}  // namespace

MoveEngine::MoveEngine(std::string journalURL, Platform& platform)
    : fm_(platform), journalURL_(std::move(journalURL)) {}

std::optional<MoveJournal> MoveEngine::journal() {
  const std::lock_guard guard(lock_);
  if (!fm_.fileExists(journalURL_)) return std::nullopt;
  return decodeJson<MoveJournal>(fm_.readFile(journalURL_));
}

void MoveEngine::writeJournal(const JournalText& journal) {
  fm_.createDirectories(parentPath(journalURL_), 0755);
  fm_.writeFileAtomically(journalURL_, journal.bytes(), Durability::durable);
}

MoveResult MoveEngine::move(const std::vector<std::string>& sources, const std::string& destination,
                            const std::vector<std::string>& sourceRoots,
                            const std::vector<std::string>& destinationRoots,
                            ConflictPolicy policy) {
  const std::lock_guard guard(lock_);
  checkBatchSize(sources.size());
  const CheckedDestination checked = checkDestination(destination, destinationRoots, fm_);
  if (const std::optional<MoveJournal> last = journal(); last && hasPendingEntry(*last)) {
    throw refusal(MoveRefusal::interruptedMove);
  }
  return apply(planMoves(sources, sourceRoots, checked, policy, fm_));
}

MoveResult MoveEngine::apply(const MovePlan& plan) {
  MoveResult result{0, plan.skipped, std::nullopt};
  if (plan.moves.empty()) return result;

  // Write-ahead: an item moves only once its pending entry is on disk, and the entry is
  // committed only once the item has moved, so a crash at any point leaves a journal that
  // undo can settle by looking at the files.
  MoveJournal journal{Uuid::random(), Timestamp::now(fm_), {}};
  JournalText text(journal);
  PinnedFolders folders(fm_);
  try {
    for (const PlannedMove& item : plan.moves) {
      const std::string identity = identityString(folders.attributes(item.sourceFolder, item.name));
      journal.entries.push_back({item.source, item.target, identity, true});
      text.push(journal.entries.back());
      writeJournal(text);
      folders.move(item.sourceFolder, item.name, plan.destination.path, item.targetName);
      journal.entries.back().pending = false;
      text.replaceLast(journal.entries.back());
      writeJournal(text);
    }
  } catch (const TesselError& error) {
    result.failure = error.what();
  } catch (const PlatformError& error) {
    result.failure = error.what();
  }
  // Counted from the files, not the loop: an item whose move happened but was not recorded
  // still counts.
  result.moved =
      std::count_if(journal.entries.begin(), journal.entries.end(), [&](const MoveEntry& entry) {
        return itemExists(entry.destination, fm_) && !itemExists(entry.source, fm_);
      });
  return result;
}

void MoveEngine::dismissHistory() {
  const std::lock_guard guard(lock_);
  if (!itemExists(journalURL_, fm_)) return;
  // The journal is one file. A folder in its place was put there by someone else, and
  // clearing the history must never delete it with everything inside.
  if (fm_.attributesOfItem(journalURL_).type == FileType::directory) {
    throw makePlatformError(EISDIR, FileOperation::remove, journalURL_);
  }
  fm_.removeItem(journalURL_);
}

}  // namespace tessel
