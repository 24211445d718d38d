#include "engine/MoveEngine.h"

#include <algorithm>
#include <cerrno>

#include "engine/ItemIdentity.h"
#include "engine/MovePlanner.h"
#include "engine/MoveRefusal.h"
#include "path/PathSafety.h"
#include "path/PathText.h"
#include "platform/PlatformError.h"
#include "records/RecordCoding.h"

namespace tessel {
namespace {

bool hasPendingEntry(const MoveJournal& journal) {
  return std::any_of(journal.entries.begin(), journal.entries.end(),
                     [](const MoveEntry& entry) { return entry.pending; });
}

// Makes every missing folder of `folder` and syncs the folder holding each one it made. A
// journal written durably into a folder whose own creation a power loss can take back would
// be lost with it, and with it every way to undo the moves it records.
void createFoldersDurably(const std::string& folder, Platform& platform) {
  std::string existing = folder;
  while (!platform.probeItem(existing) && parentPath(existing) != existing) {
    existing = parentPath(existing);
  }
  platform.createDirectories(folder, 0755);
  if (existing == folder) return;
  std::string holder = PathSafety::canonical(existing, platform);
  for (const std::string& made : pathComponents(std::string_view(folder).substr(existing.size()))) {
    platform.syncFolder(*platform.openFolderNoFollow(holder));
    holder = joinPath(holder, made);
  }
}

}  // namespace

MoveEngine::MoveEngine(std::string journalURL, Platform& platform)
    : fm_(platform), journalURL_(std::move(journalURL)) {}

std::optional<MoveJournal> MoveEngine::journal() {
  const std::lock_guard guard(lock_);
  if (!fm_.fileExists(journalURL_)) return std::nullopt;
  return decodeJson<MoveJournal>(fm_.readFile(journalURL_));
}

std::optional<MoveJournal> MoveEngine::readableJournal() {
  try {
    return journal();
  } catch (const DecodingError& error) {
    // Left as it is: the batch it records may still be read by hand. Only clearing the history
    // removes it, so the message names that way out.
    throw unreadableJournal(journalURL_, error.what());
  }
}

void MoveEngine::writeJournal(const MoveJournal& journal) {
  createFoldersDurably(parentPath(journalURL_), fm_);
  fm_.writeFileAtomically(journalURL_, encodeJson(journal), Durability::durable);
}

MoveResult MoveEngine::move(const std::vector<std::string>& sources, const std::string& destination,
                            const std::vector<std::string>& sourceRoots,
                            const std::vector<std::string>& destinationRoots,
                            ConflictPolicy policy) {
  const std::lock_guard guard(lock_);
  checkBatchSize(sources.size());
  const CheckedDestination checked = checkDestination(destination, destinationRoots, fm_);
  if (const std::optional<MoveJournal> last = readableJournal(); last && hasPendingEntry(*last)) {
    throw refusal(MoveRefusal::interruptedMove);
  }
  return apply(planMoves(sources, sourceRoots, checked, policy, fm_));
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
