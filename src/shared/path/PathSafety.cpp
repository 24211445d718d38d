#include "path/PathSafety.h"

#include <algorithm>
#include <deque>

#include "path/PathText.h"
#include "platform/Platform.h"

namespace tessel::PathSafety {
namespace {

// The limit the kernel puts on links followed while resolving one path.
constexpr int kMaxLinksFollowed = 40;

}  // namespace

std::string canonical(const std::string& path, Platform& platform) {
  const std::string standardized = standardizedPath(path);
  if (standardized.empty() || standardized.front() != '/') return standardized;

  std::deque<std::string> pending;
  for (std::string& component : pathComponents(standardized))
    pending.push_back(std::move(component));

  std::string resolved = "/";
  bool existing = true;  // whether `resolved` still names an item that exists
  int linksFollowed = 0;
  while (!pending.empty()) {
    std::string component = std::move(pending.front());
    pending.pop_front();
    if (component == ".") continue;
    if (component == "..") {
      resolved = parentPath(resolved);
      continue;
    }
    const std::string next = joinPath(resolved, component);
    if (existing && linksFollowed < kMaxLinksFollowed) {
      if (const std::optional<std::string> target = platform.readSymbolicLink(next)) {
        ++linksFollowed;
        // The target's components take the link's place; an absolute target restarts at "/".
        const std::vector<std::string> targetComponents = pathComponents(*target);
        pending.insert(pending.begin(), targetComponents.begin(), targetComponents.end());
        if (!target->empty() && target->front() == '/') resolved.assign(1, '/');
        continue;
      }
      existing = platform.fileExists(next);
    }
    resolved = next;
  }
  return resolved;
}

std::string canonical(const std::string& path) {
  return canonical(path, Platform::standard());
}

bool containsCanonical(const std::string& root, const std::string& candidate) {
  if (candidate == root) return true;
  if (root == "/") return !candidate.empty() && candidate.front() == '/';
  return candidate.size() > root.size() && candidate.compare(0, root.size(), root) == 0 &&
         candidate[root.size()] == '/';
}

std::vector<std::string> canonicalAll(const std::vector<std::string>& paths, Platform& platform) {
  std::vector<std::string> result;
  result.reserve(paths.size());
  for (const std::string& path : paths) result.push_back(canonical(path, platform));
  return result;
}

bool insideAnyCanonical(const std::vector<std::string>& roots, const std::string& candidate) {
  return std::ranges::any_of(
      roots, [&](const std::string& root) { return containsCanonical(root, candidate); });
}

const std::string& CanonicalFolders::of(const std::string& folder) {
  auto found = resolved_.find(folder);
  if (found == resolved_.end())
    found = resolved_.emplace(folder, canonical(folder, platform_)).first;
  return found->second;
}

bool contains(const std::string& root, const std::string& candidate, Platform& platform) {
  return containsCanonical(canonical(root, platform), canonical(candidate, platform));
}

bool contains(const std::string& root, const std::string& candidate) {
  return contains(root, candidate, Platform::standard());
}

}  // namespace tessel::PathSafety
