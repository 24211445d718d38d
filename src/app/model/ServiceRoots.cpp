#include "model/ServiceRoots.h"

#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {

std::set<std::string> canonicalPaths(const std::vector<std::string>& items, Platform& platform) {
  std::set<std::string> paths;
  for (const std::string& item : items) paths.insert(PathSafety::canonical(item, platform));
  return paths;
}

std::vector<std::string> serviceRoots(const std::vector<std::string>& sources,
                                      const std::set<std::string>& receivedItems,
                                      Platform& platform) {
  if (receivedItems.empty() || sources.empty() ||
      canonicalPaths(sources, platform) != receivedItems) {
    return {};
  }
  std::vector<std::string> roots;
  roots.reserve(sources.size());
  for (const std::string& source : sources) {
    roots.push_back(parentPath(PathSafety::canonical(source, platform)));
  }
  return roots;
}

}  // namespace tessel
