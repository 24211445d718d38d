// The apply phase of a batch, with one journal write before its items move and one after.
//
// Writing the journal around every item made a batch cost two synced writes per item, a
// hundred times its renames. Here the items move between two writes: the first records every
// planned item as pending, the second, once the folders the items left and entered are synced,
// records them all as committed. A crash or a power loss in between leaves several pending
// entries, which undo settles by what the files show: an item at its target with its identity
// goes back, an item still at its source with its identity is dropped.
#include <algorithm>

#include "core/Errors.h"
#include "engine/ItemIdentity.h"
#include "engine/MoveEngine.h"
#include "engine/MovePlanner.h"
#include "engine/PinnedFolders.h"

namespace tessel {
namespace {

// Runs one step of the apply phase. A failure that stops the batch is reported in its result,
// not thrown: it comes back here as its description.
template <typename Step>
std::optional<std::string> failureOf(Step&& step) {
  try {
    step();
  } catch (const TesselError& error) {
    return error.what();
  } catch (const PlatformError& error) {
    return error.what();
  }
  return std::nullopt;
}

void commitFirst(MoveJournal& journal, size_t count) {
  for (size_t i = 0; i < count; ++i) journal.entries[i].pending = false;
}

}  // namespace

MoveResult MoveEngine::apply(const MovePlan& plan) {
  MoveResult result{0, plan.skipped, std::nullopt};
  if (plan.moves.empty()) return result;

  MoveJournal journal{Uuid::random(), Timestamp::now(fm_), {}};
  PinnedFolders folders(fm_);
  // Identities are read through the descriptors the moves will use. An item that cannot be
  // identified ends the batch before it, so the items planned ahead of it still move.
  std::optional<std::string> unidentified;
  for (const PlannedMove& item : plan.moves) {
    unidentified = failureOf([&] {
      const std::string identity = identityString(folders.attributes(item.sourceFolder, item.name));
      journal.entries.push_back({item.source, item.target, identity, true});
    });
    if (unidentified) break;
  }
  result.failure =
      journal.entries.empty() ? unidentified : failureOf([&] { writeJournal(journal); });
  if (result.failure) return result;

  size_t moved = 0;
  while (moved < journal.entries.size() && !result.failure) {
    const PlannedMove& item = plan.moves[moved];
    result.failure = failureOf([&] {
      folders.move(item.sourceFolder, item.name, plan.destination.path, item.targetName);
    });
    if (!result.failure) ++moved;
  }
  if (result.failure) {
    // Stopped at an item: the items before it are committed, its own entry stays pending and
    // the items never tried leave the journal. Should this fail too, the file keeps every
    // entry pending, which undo settles just as well.
    journal.entries.resize(moved + 1);
    commitFirst(journal, moved);
    failureOf([&] {
      folders.syncChanged();
      writeJournal(journal);
    });
  } else {
    result.failure = failureOf([&] {
      folders.syncChanged();
      commitFirst(journal, moved);
      writeJournal(journal);
    });
    if (!result.failure) result.failure = unidentified;
  }

  // Counted from the files, not the loop: an item whose move happened but was not recorded
  // still counts.
  result.moved =
      std::count_if(journal.entries.begin(), journal.entries.end(), [&](const MoveEntry& entry) {
        return itemExists(entry.destination, fm_) && !itemExists(entry.source, fm_);
      });
  return result;
}

}  // namespace tessel
