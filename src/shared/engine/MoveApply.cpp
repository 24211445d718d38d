// The apply phase of a batch, with one journal write before its items move and one after.
//
// Writing the journal around every item made a batch cost two synced writes per item, a
// hundred times its renames. Here the items move between two writes: the first records every
// planned item as pending, the second, once the folders the items left and entered are synced,
// records them all as committed. A crash or a power loss in between leaves several pending
// entries, which undo settles by what the files show: an item at its target with its identity
// goes back, an item still at its source with its identity is dropped.
#include <algorithm>
#include <cerrno>

#include "core/Errors.h"
#include "engine/ItemIdentity.h"
#include "engine/MoveEngine.h"
#include "engine/MovePlanner.h"
#include "engine/MoveRefusal.h"
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

// Errors a rename meets while looking up its names, before it changes anything: the item is
// still where it was, or gone from there by someone else's doing, but not moved by this batch.
bool renameLeftItemAlone(const PlatformError& error) {
  const int code = error.code();
  return code == ENOENT || code == EEXIST || code == ELOOP || code == ENAMETOOLONG;
}

// Why the batch stopped at an item, and whether that item may have moved all the same.
struct Stop {
  std::string failure;
  bool mayHaveMoved = false;
};

// Moves one item of the plan. Its source is read again just before the rename, through the
// folder the rename uses: the identity recorded before the moves may be stale by now. A link
// put there since the checks is refused like any link; any other item found there is the one
// that moves, and its entry is given the identity of what actually moved, so that undo finds it.
std::optional<Stop> moveItem(const PlannedMove& item, const std::string& destination,
                             MoveEntry& entry, PinnedFolders& folders) {
  if (const std::optional<std::string> failure = failureOf([&] {
        const FileAttributes found = folders.attributes(item.sourceFolder, item.name);
        if (found.type == FileType::symbolicLink) throw refusal(MoveRefusal::symbolicLink);
        entry.identity = identityString(found);
      })) {
    return Stop{*failure, false};
  }
  try {
    folders.move(item.sourceFolder, item.name, destination, item.targetName);
  } catch (const PlatformError& error) {
    return Stop{error.what(), !renameLeftItemAlone(error)};
  }
  // A rename works on names, so a link put in the item's place after that read is what moved.
  // Read at its target, such a link goes straight back and stops the batch like any link;
  // should it not go back, its entry names it, so that undo returns it all the same.
  FileAttributes arrived;
  try {
    arrived = folders.attributes(destination, item.targetName);
  } catch (const PlatformError& error) {
    return Stop{error.what(), true};
  }
  entry.identity = identityString(arrived);
  if (arrived.type != FileType::symbolicLink) return std::nullopt;
  const std::string refused = refusal(MoveRefusal::symbolicLink).what();
  const bool back =
      !failureOf([&] { folders.move(destination, item.targetName, item.sourceFolder, item.name); });
  return Stop{refused, !back};
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
  std::optional<Stop> stop;
  while (moved < journal.entries.size() && !stop) {
    stop = moveItem(plan.moves[moved], plan.destination.path, journal.entries[moved], folders);
    if (!stop) ++moved;
  }
  if (stop) {
    // Stopped at an item: the items before it are committed and the items never tried leave
    // the journal. The item's own entry stays pending only when its rename may have happened:
    // one known not to have moved it would be left for undo to look for where it may no
    // longer be, blocking undo and every later batch. Should this write fail too, the file
    // keeps every entry pending, which undo settles as long as the items are where it looks.
    result.failure = stop->failure;
    journal.entries.resize(moved + (stop->mayHaveMoved ? 1 : 0));
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
