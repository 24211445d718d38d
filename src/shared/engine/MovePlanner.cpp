#include "engine/MovePlanner.h"

#include <algorithm>
#include <exception>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "core/DisplayPath.h"
#include "engine/KeepBothName.h"
#include "engine/MoveRefusal.h"
#include "json/JsonText.h"
#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {
namespace {

// What the checks need to know of one source, read once per source. A failure to read its
// attributes is kept and thrown when the source's turn comes, so errors surface in order.
struct SourceFacts {
  std::optional<FileAttributes> attributes;
  std::exception_ptr readError;
  std::string canonical;
  std::string folder;  // the canonical folder holding it
  std::string name;    // its last component
};

// The attributes of `name` in the folder at the canonical path `folder`, read through the
// folder held open in `open` (opened again when the folder differs): the lookup of one
// component instead of a walk of the whole path. None when they cannot be read that way.
std::optional<FileAttributes> probeIn(std::unique_ptr<OpenFolder>& open, const std::string& folder,
                                      const std::string& name, Platform& platform) {
  if (!open || open->path() != folder) {
    try {
      open = platform.openFolderNoFollow(folder);
    } catch (const PlatformError&) {
      open.reset();
      return std::nullopt;
    }
  }
  return platform.probeItemIn(*open, name);
}

std::vector<SourceFacts> readSources(const std::vector<std::string>& ordered, Platform& platform) {
  // An item that is not a link itself resolves to its resolved folder plus its name.
  PathSafety::CanonicalFolders folders(platform);
  std::unique_ptr<OpenFolder> open;
  std::vector<SourceFacts> facts(ordered.size());
  for (size_t i = 0; i < ordered.size(); ++i) {
    const std::string& source = ordered[i];
    const std::string& folder = folders.of(parentPath(source));
    const std::string& name = facts[i].name = lastComponent(source);
    facts[i].folder = folder;
    facts[i].attributes = probeIn(open, folder, name, platform);
    if (!facts[i].attributes) {
      // Read again by its path, for the platform's own error naming the source as selected.
      try {
        facts[i].attributes = platform.attributesOfItem(source);
      } catch (const PlatformError&) {
        facts[i].readError = std::current_exception();
      }
    }
    facts[i].canonical = facts[i].attributes && facts[i].attributes->type != FileType::symbolicLink
                             ? joinPath(folder, name)
                             : PathSafety::canonical(source, platform);
  }
  return facts;
}

// Path order in which "/" sorts before every other byte, so that everything inside a folder
// follows the folder at once: "/a", "/a/b", "/a b" rather than "/a", "/a b", "/a/b".
bool precedesInTreeOrder(const std::string& a, const std::string& b) {
  const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (y == b.end()) return false;
  if (x == a.end()) return true;
  const auto rank = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c); };
  return rank(*x) < rank(*y);
}

// Which sources lie inside another selected source, from one sort of the canonical paths
// rather than a test of every pair. A second selection of the very same item (two paths that
// resolve to one canonical path) counts as nested in the first, so the item is planned once.
std::vector<bool> nestedSelections(const std::vector<SourceFacts>& facts) {
  std::vector<size_t> order(facts.size());
  std::iota(order.begin(), order.end(), 0);
  const auto inTreeOrder = [&](size_t a, size_t b) {
    return precedesInTreeOrder(facts[a].canonical, facts[b].canonical);
  };
  // Items of one folder usually come sorted already.
  if (!std::is_sorted(order.begin(), order.end(), inTreeOrder)) {
    std::stable_sort(order.begin(), order.end(), inTreeOrder);
  }
  std::vector<bool> nested(facts.size(), false);
  const std::string* enclosing = nullptr;
  for (size_t index : order) {
    if (enclosing != nullptr && PathSafety::containsCanonical(*enclosing, facts[index].canonical)) {
      nested[index] = true;
    } else {
      enclosing = &facts[index].canonical;
    }
  }
  return nested;
}

// Which names in the destination are taken: by an item there (a dangling link included) or by
// a target planned earlier in the batch. Names are looked up in the folder opened once, which
// costs a lookup of one component instead of a walk of the whole path.
class TargetNames {
 public:
  TargetNames(const std::string& folder, size_t count, Platform& platform)
      : path_(folder), platform_(platform) {
    reserved_.reserve(count);
  }

  bool taken(const std::string& name) {
    if (reserved_.contains(name)) return true;
    if (!folder_) folder_ = platform_.openFolderNoFollow(path_);
    return platform_.probeItemIn(*folder_, name).has_value();
  }
  void reserve(const std::string& name) { reserved_.insert(name); }

  // The first free keep-both name for `name`. Taken names only accumulate while a batch is
  // planned, so the search for a name resumes at the number where it last stopped.
  std::string uniqueName(const std::string& name) {
    const NameParts parts = splitPathExtension(name);
    long long& next = nextNumber_.try_emplace(name, 2).first->second;
    for (;; ++next) {
      std::string candidate = numberedName(parts, next);
      if (!taken(candidate)) return candidate;
    }
  }

 private:
  const std::string& path_;
  std::unique_ptr<OpenFolder> folder_;  // opened at the first lookup
  Platform& platform_;
  std::unordered_set<std::string> reserved_;
  std::unordered_map<std::string, long long> nextNumber_;
};

// JSON cannot carry a name that is not UTF-8, so such an item could not be journalled; it is
// refused here, before anything moves, rather than stopping the batch half way. A target needs
// no check of its own: its folder is checked once, and its name is the source's, perhaps with
// a number added.
void checkJournalable(const std::string& path) {
  unsigned char bits = 0;
  for (const char c : path) bits |= static_cast<unsigned char>(c);
  if (bits < 0x80 || isValidUtf8(path)) return;
  std::string refused;
  appendJsonString(refused, path);  // throws the message naming the path
}

// Whether `path` (standardised) names an entry of `folder` itself, compared as written.
bool liesDirectlyIn(const std::string& path, const std::string& folder) {
  const std::string_view parent = std::string_view(path).substr(0, path.rfind('/'));
  return (parent.empty() ? std::string_view("/") : parent) == folder;
}

bool sameVolume(const std::optional<std::uint64_t>& a, const std::optional<std::uint64_t>& b) {
  if (!a && !b) return true;
  return a && b && *a == *b;
}

}  // namespace

void checkBatchSize(std::size_t count) {
  if (count < 1 || count > kMaxBatchSize) throw refusal(MoveRefusal::batchSize);
}

CheckedDestination checkDestination(const std::string& destination,
                                    const std::vector<std::string>& destinationRoots,
                                    Platform& platform) {
  const std::string path = PathSafety::canonical(destination, platform);
  if (!PathSafety::insideAnyCanonical(PathSafety::canonicalAll(destinationRoots, platform), path)) {
    throw refusal(MoveRefusal::destinationNotAllowed);
  }
  const FileAttributes attributes = platform.attributesOfItem(path);
  if (attributes.type != FileType::directory) throw refusal(MoveRefusal::destinationNotAllowed);
  return {path, attributes.device};
}

MovePlan planMoves(const std::vector<std::string>& sources,
                   const std::vector<std::string>& sourceRoots,
                   const CheckedDestination& destination, ConflictPolicy policy,
                   Platform& platform) {
  std::vector<std::string> ordered;
  ordered.reserve(sources.size());
  for (const std::string& source : sources) ordered.push_back(standardizedPath(source));
  std::sort(ordered.begin(), ordered.end());
  ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());

  const std::vector<std::string> roots = PathSafety::canonicalAll(sourceRoots, platform);
  std::vector<SourceFacts> facts = readSources(ordered, platform);
  const std::vector<bool> nested = nestedSelections(facts);

  MovePlan plan{destination, {}, 0};
  plan.moves.reserve(ordered.size());
  TargetNames targets(destination.path, ordered.size(), platform);
  for (size_t i = 0; i < ordered.size(); ++i) {
    const std::string& source = ordered[i];
    const std::string& canonical = facts[i].canonical;
    // Having read the item's own attributes also proves that it exists.
    if (facts[i].readError) std::rethrow_exception(facts[i].readError);
    const FileAttributes& attributes = *facts[i].attributes;
    if (attributes.type == FileType::symbolicLink) throw refusal(MoveRefusal::symbolicLink);
    const bool insideRoot = std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
      return root != canonical && PathSafety::containsCanonical(root, canonical);
    });
    if (!insideRoot) throw refusal(MoveRefusal::sourceNotAllowed);
    if (PathSafety::containsCanonical(canonical, destination.path)) {
      throw refusal(MoveRefusal::intoItself);
    }
    if (nested[i]) continue;

    std::string& name = facts[i].name;
    // Compared as written: the item already lies directly in the destination folder.
    if (liesDirectlyIn(source, destination.path)) {
      ++plan.skipped;
      continue;
    }
    if (!sameVolume(attributes.device, destination.device)) {
      throw refusal(MoveRefusal::otherVolume);
    }
    std::string targetName = name;
    if (targets.taken(name)) {
      if (policy == ConflictPolicy::skip) {
        ++plan.skipped;
        continue;
      }
      if (policy == ConflictPolicy::cancel) throw refusal(MoveRefusal::nameTaken);
      targetName = targets.uniqueName(name);
    }
    checkJournalable(source);
    if (plan.moves.empty()) checkJournalable(destination.path);
    targets.reserve(targetName);
    std::string target = joinPath(destination.path, targetName);
    plan.moves.push_back({std::move(ordered[i]), std::move(name), std::move(facts[i].folder),
                          std::move(target), std::move(targetName)});
  }
  return plan;
}

}  // namespace tessel
