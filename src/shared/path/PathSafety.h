// The one place that decides whether an item lies inside a folder. Decisions are made on
// canonical paths so that links, ".", "..", doubled or trailing slashes cannot make an item
// look inside a folder it is outside of, or the reverse.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace tessel {

class Platform;

namespace PathSafety {

// `path` standardised lexically, then with every symbolic link in the part of the path that
// exists replaced by its target (recursively); the missing tail is kept as written. Relative
// paths are taken as they are. Never fails: a loop of links stops being followed.
std::string canonical(const std::string& path, Platform& platform);
std::string canonical(const std::string& path);

// True when `candidate` is `root` or lies below it, judged on canonical paths compared byte
// for byte: names that differ only in Unicode composition are different entries on Linux file
// systems, so a look-alike sibling must never pass for the folder itself.
bool contains(const std::string& root, const std::string& candidate, Platform& platform);
bool contains(const std::string& root, const std::string& candidate);

// The containment test alone, on paths that are already canonical.
bool containsCanonical(const std::string& root, const std::string& candidate);

// canonical() of each path, in order.
std::vector<std::string> canonicalAll(const std::vector<std::string>& paths, Platform& platform);

// True when canonical `candidate` lies inside one of the canonical `roots`.
bool insideAnyCanonical(const std::vector<std::string>& roots, const std::string& candidate);

// canonical() of folders, each worked out once: the items of a batch or a journal mostly share
// a handful of folders.
class CanonicalFolders {
 public:
  explicit CanonicalFolders(Platform& platform) : platform_(platform) {}
  const std::string& of(const std::string& folder);

 private:
  Platform& platform_;
  std::unordered_map<std::string, std::string> resolved_;
};

}  // namespace PathSafety
}  // namespace tessel
