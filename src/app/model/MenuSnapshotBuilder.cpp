#include "model/MenuSnapshotBuilder.h"

#include <algorithm>

#include "model/MenuTree.h"
#include "model/MountedVolumes.h"
#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {
namespace {

// Peers and stored snapshots know these fixed paths by heart; they stay exactly as they are.
constexpr const char* kSharedUsersFolder = "/Users/Shared";
constexpr const char* kNeverRoots[] = {"/", "/System/Volumes/Data"};

std::vector<MenuDestination> recentDestinations(const std::vector<std::string>& recent,
                                                const std::vector<std::string>& favoriteFolders,
                                                Platform& platform) {
  const std::vector<std::string> favorites = PathSafety::canonicalAll(favoriteFolders, platform);
  std::vector<MenuDestination> destinations;
  const size_t considered = std::min(recent.size(), kRecentLimit);
  for (size_t i = 0; i < considered; ++i) {
    const std::string& path = recent[i];
    if (PathSafety::insideAnyCanonical(favorites, PathSafety::canonical(path, platform)) &&
        platform.fileExists(path)) {
      destinations.push_back({lastComponent(path), path, {}});
    }
  }
  return destinations;
}

}  // namespace

std::vector<std::string> menuRoots(const HostSettings& settings, const FolderAccess& access,
                                   Platform& platform) {
  if (!access.direct()) return access.resolveGrants(settings.roots);
  std::vector<std::string> roots{platform.homeFolder(), kSharedUsersFolder};
  for (std::string& volume : MountedVolumes::list(platform)) {
    if (std::ranges::find(kNeverRoots, volume) == std::end(kNeverRoots)) {
      roots.push_back(std::move(volume));
    }
  }
  std::ranges::sort(roots);
  roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
  return roots;
}

MenuSnapshot buildMenuSnapshot(const HostSettings& settings, const FolderAccess& access,
                               Platform& platform) {
  MenuSnapshot snapshot;
  snapshot.roots = menuRoots(settings, access, platform);
  const FinderOrder order;
  int budget = kMenuFolderBudget;
  for (const FolderGrant& favorite : settings.favorites) {
    snapshot.favorites.push_back(
        menuTree(access.resolveGrant(favorite), 0, budget, order, platform));
  }
  const std::vector<std::string> favoriteFolders = access.resolveGrants(settings.favorites);
  snapshot.recent = recentDestinations(settings.recent, favoriteFolders, platform);
  return snapshot;
}

}  // namespace tessel
