// Undo of the last batch. It never overwrites anything: an item moves back only when the item
// at its destination is provably the one that moved and its old place is free. The pending
// flag is not consulted; what the files show decides, which also settles a batch that was
// interrupted between its moves and their record.
//
// Items go back last to first with no journal write between them. The journal is written once,
// when the walk ends or stops, after the folders the items left and entered are synced; until
// then it still lists items that are back already, which the next undo drops by their identity.
#include <algorithm>
#include <exception>

#include "engine/ItemIdentity.h"
#include "engine/MoveEngine.h"
#include "engine/MoveRefusal.h"
#include "engine/PinnedFolders.h"
#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {
namespace {

// One of an entry's two places: the canonical folder holding it, its name in that folder,
// and the item found there now.
struct Place {
  std::string path;  // as journalled
  std::string folder;
  std::string name;
  std::optional<FileAttributes> found;
};

class UndoPlaces {
 public:
  UndoPlaces(const std::vector<std::string>& sourceRoots,
             const std::vector<std::string>& destinationRoots, Platform& platform)
      : sourceRoots_(PathSafety::canonicalAll(sourceRoots, platform)),
        destinationRoots_(PathSafety::canonicalAll(destinationRoots, platform)),
        platform_(platform),
        folders_(platform) {}

  Place locate(const std::string& path, PinnedFolders& folders) {
    const std::string standardized = standardizedPath(path);
    Place place{path, folders_.of(parentPath(standardized)), lastComponent(standardized),
                std::nullopt};
    place.found = folders.probe(place.folder, place.name);
    return place;
  }

  void checkAccess(const Place& source, const Place& moved) const {
    if (!insideSome(sourceRoots_, source) || !insideSome(destinationRoots_, moved)) {
      throw refusal(MoveRefusal::undoAccessMissing);
    }
  }

 private:
  // The place's canonical path is its folder's plus its name, unless the name is itself a
  // link, which canonical resolution follows.
  bool insideSome(const std::vector<std::string>& roots, const Place& place) const {
    const std::string canonical = place.found && place.found->type == FileType::symbolicLink
                                      ? PathSafety::canonical(place.path, platform_)
                                      : joinPath(place.folder, place.name);
    return PathSafety::insideAnyCanonical(roots, canonical);
  }

  const std::vector<std::string> sourceRoots_;
  const std::vector<std::string> destinationRoots_;
  Platform& platform_;
  PathSafety::CanonicalFolders folders_;
};

// Settles one entry: true when its item moved back, false when it was already at its old
// place. Throws the refusal that stops the undo at this entry.
bool undoEntry(const MoveEntry& entry, UndoPlaces& places, PinnedFolders& folders) {
  const Place source = places.locate(entry.source, folders);
  const Place moved = places.locate(entry.destination, folders);
  places.checkAccess(source, moved);
  if (source.found) {
    // Only the moved item itself may be at its old place: then it never left (its move was
    // refused or not reached) or is already back, and the entry is simply dropped.
    if (identityString(*source.found) != entry.identity) {
      throw refusal(MoveRefusal::originalPlaceOccupied);
    }
    return false;
  }
  if (!moved.found || identityString(*moved.found) != entry.identity) {
    throw refusal(MoveRefusal::movedItemReplaced);
  }
  folders.move(moved.folder, moved.name, source.folder, source.name);
  return true;
}

}  // namespace

std::int64_t MoveEngine::undo(const std::vector<std::string>& sourceRoots,
                              const std::vector<std::string>& destinationRoots) {
  const std::lock_guard guard(lock_);
  std::optional<MoveJournal> remaining = readableJournal();
  if (!remaining) return 0;

  UndoPlaces places(sourceRoots, destinationRoots, fm_);
  PinnedFolders folders(fm_);
  const size_t recorded = remaining->entries.size();
  std::int64_t movedBack = 0;
  std::exception_ptr stop;
  try {
    while (!remaining->entries.empty()) {
      if (undoEntry(remaining->entries.back(), places, folders)) ++movedBack;
      remaining->entries.pop_back();
    }
  } catch (const TesselError&) {
    stop = std::current_exception();
  } catch (const PlatformError&) {
    stop = std::current_exception();
  }
  if (remaining->entries.size() < recorded) {
    try {
      folders.syncChanged();
      writeJournal(*remaining);
    } catch (const PlatformError& error) {
      // What stopped the walk is the news; a journal left longer is only undone again. With
      // every item back, the files are as the user asked and only their record is stale.
      if (!stop) throw undoneButNotRecorded(error.what());
    }
  }
  if (stop) std::rethrow_exception(stop);
  return movedBack;
}

}  // namespace tessel
