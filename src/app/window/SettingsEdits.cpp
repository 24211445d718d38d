#include "window/SettingsEdits.h"

#include <algorithm>
#include <utility>

namespace tessel::SettingsEdits {

std::optional<std::vector<FolderGrant>> reordered(const std::vector<FolderGrant>& favorites,
                                                  int index, int step) {
  const long target = static_cast<long>(index) + step;
  if (index < 0 || static_cast<size_t>(index) >= favorites.size() || target < 0 ||
      static_cast<size_t>(target) >= favorites.size()) {
    return std::nullopt;
  }
  std::vector<FolderGrant> changed = favorites;
  std::swap(changed[static_cast<size_t>(index)], changed[static_cast<size_t>(target)]);
  return changed;
}

std::vector<FolderGrant> without(const std::vector<FolderGrant>& grants, const Uuid& id) {
  std::vector<FolderGrant> kept;
  std::ranges::copy_if(grants, std::back_inserter(kept),
                       [&](const FolderGrant& grant) { return grant.id != id; });
  return kept;
}

}  // namespace tessel::SettingsEdits
