// Items that reach the host through the Services entry may lie outside every granted source
// folder. A move of exactly those items may take them out of their own parent folders.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tessel {

// The canonical paths of `items`.
std::set<std::string> canonicalPaths(const std::vector<std::string>& items, Platform& platform);

// The canonical parent of each source, in source order, when the sources are exactly the
// received items (order and repetition aside); none otherwise.
std::vector<std::string> serviceRoots(const std::vector<std::string>& sources,
                                      const std::set<std::string>& receivedItems,
                                      Platform& platform);

}  // namespace tessel
