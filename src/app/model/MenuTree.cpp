#include "model/MenuTree.h"

#include <algorithm>
#include <set>

#include "core/DisplayPath.h"
#include "core/Errors.h"
#include "model/TextSplit.h"
#include "path/PathText.h"

namespace tessel {
namespace {

constexpr const char* kHiddenListName = ".hidden";

// The names a folder's ".hidden" file lists, one a line, as file managers read it.
std::set<std::string, std::less<>> hiddenNames(const std::string& folder, Platform& platform) {
  std::set<std::string, std::less<>> names;
  std::string content;
  try {
    content = platform.readFile(joinPath(folder, kHiddenListName));
  } catch (const PlatformError&) {
    return names;
  }
  for (std::string_view line : splitText(content, '\n')) names.emplace(line);
  return names;
}

// The visible sub-folders of `folder`, unsorted. Names that are not UTF-8 cannot be written to
// the snapshot, so they are left out rather than failing the whole menu.
std::vector<DirectoryEntry> visibleSubfolders(const std::string& folder, Platform& platform) {
  std::vector<DirectoryEntry> entries;
  try {
    entries = platform.contentsOfDirectory(folder);
  } catch (const PlatformError&) {
    return {};
  }
  const bool hasHiddenList = std::ranges::any_of(
      entries, [](const DirectoryEntry& entry) { return entry.name == kHiddenListName; });
  const auto hidden =
      hasHiddenList ? hiddenNames(folder, platform) : std::set<std::string, std::less<>>{};
  std::erase_if(entries, [&](const DirectoryEntry& entry) {
    return entry.type != FileType::directory || entry.name.starts_with('.') ||
           hidden.contains(entry.name) || !isValidUtf8(entry.name);
  });
  return entries;
}

}  // namespace

MenuDestination menuTree(const std::string& folder, int depth, int& budget,
                         const FinderOrder& order, Platform& platform) {
  MenuDestination destination{lastComponent(folder), folder, {}};
  if (depth >= kMenuDepthLimit || budget < 1) return destination;
  std::vector<DirectoryEntry> subfolders = visibleSubfolders(folder, platform);
  order.sort(subfolders);
  for (const DirectoryEntry& subfolder : subfolders) {
    if (budget < 1) break;
    --budget;
    destination.children.push_back(
        menuTree(joinPath(folder, subfolder.name), depth + 1, budget, order, platform));
  }
  return destination;
}

}  // namespace tessel
