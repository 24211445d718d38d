#include "model/ServiceRoots.h"

#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {

std::set<std::string> canonicalPaths(const std::vector<std::string>& items, Platform& platform) {
  const std::vector<std::string> paths = PathSafety::canonicalAll(items, platform);
  return {paths.begin(), paths.end()};
}

std::vector<std::string> serviceRoots(const std::vector<std::string>& sources,
                                      const std::set<std::string>& receivedItems,
                                      Platform& platform) {
  std::vector<std::string> roots = PathSafety::canonicalAll(sources, platform);
  if (receivedItems.empty() || roots.empty() ||
      std::set<std::string>(roots.begin(), roots.end()) != receivedItems) {
    return {};
  }
  for (std::string& root : roots) root = parentPath(root);
  return roots;
}

}  // namespace tessel
