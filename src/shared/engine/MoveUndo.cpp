// Undo of the last batch. It never overwrites anything: an item moves back only when the item
// at its destination is provably the one that moved and its old place is free. The pending
// flag is not consulted; what the files show decides, which also settles a batch that was
// interrupted between an item's move and its record.
#include <algorithm>
#include <unordered_map>

#include "engine/ItemIdentity.h"
#include "engine/JournalText.h"
#include "engine/MoveEngine.h"
#include "engine/MoveRefusal.h"
#include "engine/PinnedFolders.h"
#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {
namespace {

// An entry's path as the canonical folder holding it and its name in that folder.
struct Place {
  std::string folder;
  std::string name;
};

class UndoPlaces {
 public:
  UndoPlaces(const std::vector<std::string>& sourceRoots,
             const std::vector<std::string>& destinationRoots, Platform& platform)
      : sourceRoots_(canonicalAll(sourceRoots, platform)),
        destinationRoots_(canonicalAll(destinationRoots, platform)),
        platform_(platform) {}

  void checkAccess(const MoveEntry& entry) const {
    if (!insideSome(sourceRoots_, entry.source) ||
        !insideSome(destinationRoots_, entry.destination)) {
      throw refusal(MoveRefusal::undoAccessMissing);
    }
  }

  Place place(const std::string& path) {
    const std::string standardized = standardizedPath(path);
    const std::string parent = parentPath(standardized);
    auto found = canonicalFolders_.find(parent);
    if (found == canonicalFolders_.end()) {
      found = canonicalFolders_.emplace(parent, PathSafety::canonical(parent, platform_)).first;
    }
    return {found->second, lastComponent(standardized)};
  }

 private:
  static std::vector<std::string> canonicalAll(const std::vector<std::string>& paths,
                                               Platform& platform) {
    std::vector<std::string> result;
    for (const std::string& path : paths) result.push_back(PathSafety::canonical(path, platform));
    return result;
  }

  bool insideSome(const std::vector<std::string>& roots, const std::string& path) const {
    const std::string canonical = PathSafety::canonical(path, platform_);
    return std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
      return PathSafety::containsCanonical(root, canonical);
    });
  }

  const std::vector<std::string> sourceRoots_;
  const std::vector<std::string> destinationRoots_;
  Platform& platform_;
  std::unordered_map<std::string, std::string> canonicalFolders_;
};

}  // namespace

std::int64_t MoveEngine::undo(const std::vector<std::string>& sourceRoots,
                              const std::vector<std::string>& destinationRoots) {
  const std::lock_guard guard(lock_);
  std::optional<MoveJournal> remaining = journal();
  if (!remaining) return 0;

  JournalText text(*remaining);
  UndoPlaces places(sourceRoots, destinationRoots, fm_);
  PinnedFolders folders(fm_);
  std::int64_t movedBack = 0;
  while (!remaining->entries.empty()) {
    const MoveEntry& entry = remaining->entries.back();
    places.checkAccess(entry);
    const Place source = places.place(entry.source);
    const Place moved = places.place(entry.destination);
    if (folders.exists(source.folder, source.name)) {
      // Only the moved item itself may be at its old place: then it never left (its move was
      // refused or not reached) or is already back, and the entry is simply dropped.
      if (identityString(folders.attributes(source.folder, source.name)) != entry.identity) {
        throw refusal(MoveRefusal::originalPlaceOccupied);
      }
    } else if (folders.exists(moved.folder, moved.name)) {
      if (identityString(folders.attributes(moved.folder, moved.name)) != entry.identity) {
        throw refusal(MoveRefusal::movedItemReplaced);
      }
      folders.move(moved.folder, moved.name, source.folder, source.name);
      ++movedBack;
    } else {
      throw refusal(MoveRefusal::movedItemReplaced);
    }
    remaining->entries.pop_back();
    text.pop();
    writeJournal(text);
  }
  return movedBack;
}

}  // namespace tessel
