#include "engine/MovePlanner.h"

#include <algorithm>
#include <exception>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "engine/ItemIdentity.h"
#include "engine/KeepBothName.h"
#include "engine/MoveRefusal.h"
#include "json/JsonText.h"
#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {
namespace {

std::vector<std::string> canonicalPaths(const std::vector<std::string>& paths, Platform& platform) {
  std::vector<std::string> result;
  result.reserve(paths.size());
  for (const std::string& path : paths) result.push_back(PathSafety::canonical(path, platform));
  return result;
}

// What the checks need to know of one source, read once per source. A failure to read its
// attributes is kept and thrown when the source's turn comes, so errors surface in order.
struct SourceFacts {
  std::optional<FileAttributes> attributes;
  std::exception_ptr readError;
  std::string canonical;
};

std::vector<SourceFacts> readSources(const std::vector<std::string>& ordered, Platform& platform) {
  // A batch usually comes from a handful of folders: each is resolved once, and an item that
  // is not a link itself resolves to its resolved folder plus its name.
  std::unordered_map<std::string, std::string> canonicalFolders;
  std::vector<SourceFacts> facts(ordered.size());
  for (size_t i = 0; i < ordered.size(); ++i) {
    const std::string& source = ordered[i];
    try {
      facts[i].attributes = platform.attributesOfItem(source);
    } catch (const PlatformError&) {
      facts[i].readError = std::current_exception();
    }
    if (!facts[i].attributes || facts[i].attributes->type == FileType::symbolicLink) {
      facts[i].canonical = PathSafety::canonical(source, platform);
      continue;
    }
    const std::string parent = parentPath(source);
    auto folder = canonicalFolders.find(parent);
    if (folder == canonicalFolders.end()) {
      folder = canonicalFolders.emplace(parent, PathSafety::canonical(parent, platform)).first;
    }
    facts[i].canonical = joinPath(folder->second, lastComponent(source));
  }
  return facts;
}

// Path order in which "/" sorts before every other byte, so that everything inside a folder
// follows the folder at once: "/a", "/a/b", "/a b" rather than "/a", "/a b", "/a/b".
bool precedesInTreeOrder(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto rank = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c); };
    return rank(x) < rank(y);
  });
}

// Which sources lie inside another selected source, from one sort of the canonical paths
// rather than a test of every pair. A second selection of the very same item (two paths that
// resolve to one canonical path) counts as nested in the first, so the item is planned once.
std::vector<bool> nestedSelections(const std::vector<SourceFacts>& facts) {
  std::vector<size_t> order(facts.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return precedesInTreeOrder(facts[a].canonical, facts[b].canonical);
  });
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

// The first free keep-both name for each taken name. Taken names only accumulate while a
// batch is planned, so the search for a name resumes at the number where it last stopped.
class KeepBothNamer {
 public:
  KeepBothNamer(const std::string& folder, const std::unordered_set<std::string>& reserved,
                Platform& platform)
      : folder_(folder), reserved_(reserved), platform_(platform) {}

  std::string uniqueTarget(const std::string& name) {
    const NameParts parts = splitPathExtension(name);
    long long& next = nextNumber_.try_emplace(name, 2).first->second;
    for (;; ++next) {
      std::string candidate = joinPath(folder_, numberedName(parts, next));
      if (!reserved_.contains(candidate) && !itemExists(candidate, platform_)) return candidate;
    }
  }

 private:
  const std::string& folder_;
  const std::unordered_set<std::string>& reserved_;
  Platform& platform_;
  std::unordered_map<std::string, long long> nextNumber_;
};

// JSON cannot carry a name that is not UTF-8, so such an item could not be journalled; it is
// refused here, before anything moves, rather than stopping the batch half way.
void checkJournalable(const std::string& path) {
  std::string scratch;
  appendJsonString(scratch, path);
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
  const bool allowed =
      std::any_of(destinationRoots.begin(), destinationRoots.end(), [&](const std::string& root) {
        return PathSafety::containsCanonical(PathSafety::canonical(root, platform), path);
      });
  if (!allowed) throw refusal(MoveRefusal::destinationNotAllowed);
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

  const std::vector<std::string> roots = canonicalPaths(sourceRoots, platform);
  const std::vector<SourceFacts> facts = readSources(ordered, platform);
  const std::vector<bool> nested = nestedSelections(facts);

  MovePlan plan{destination, {}, 0};
  std::unordered_set<std::string> reserved;
  KeepBothNamer namer(destination.path, reserved, platform);
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

    const std::string name = lastComponent(source);
    std::string target = joinPath(destination.path, name);
    // Compared as written: the item already lies directly in the destination folder.
    if (target == source) {
      ++plan.skipped;
      continue;
    }
    if (!sameVolume(attributes.device, destination.device)) {
      throw refusal(MoveRefusal::otherVolume);
    }
    if (reserved.contains(target) || itemExists(target, platform)) {
      if (policy == ConflictPolicy::skip) {
        ++plan.skipped;
        continue;
      }
      if (policy == ConflictPolicy::cancel) throw refusal(MoveRefusal::nameTaken);
      target = namer.uniqueTarget(name);
    }
    checkJournalable(source);
    checkJournalable(target);
    reserved.insert(target);
    plan.moves.push_back({source, name, parentPath(canonical), target, lastComponent(target)});
  }
  return plan;
}

}  // namespace tessel
