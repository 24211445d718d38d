#include "model/FolderAccess.h"

#include <algorithm>

#include "core/Errors.h"
#include "model/FolderBookmark.h"
#include "model/ModelTexts.h"

namespace tessel {

void FolderAccess::reopenScopes(const HostSettings& settings) {
  if (direct_) return;
  // Access on Linux is a check, not a held resource: giving it up only forgets the folder.
  retainedScopes_.clear();
  std::vector<FolderGrant> grants = settings.roots;
  grants.insert(grants.end(), settings.favorites.begin(), settings.favorites.end());
  for (const FolderGrant& grant : grants) {
    const FolderBookmark::Resolution resolved = FolderBookmark::resolve(grant.bookmark, platform_);
    if (resolved.stale || !FolderBookmark::startAccessing(resolved.path, platform_)) {
      throw TesselError::invalid(ModelTexts::renewNamedAccess(grant.name));
    }
    retainedScopes_.push_back(resolved.path);
  }
}

std::string FolderAccess::resolveGrant(const FolderGrant& grant) const {
  if (direct_) return grant.path;
  const FolderBookmark::Resolution resolved = FolderBookmark::resolve(grant.bookmark, platform_);
  if (resolved.stale ||
      std::ranges::find(retainedScopes_, resolved.path) == retainedScopes_.end()) {
    throw TesselError::invalid(ModelTexts::renewAccess());
  }
  return resolved.path;
}

std::vector<std::string> FolderAccess::resolveGrants(const std::vector<FolderGrant>& grants) const {
  std::vector<std::string> paths;
  paths.reserve(grants.size());
  for (const FolderGrant& grant : grants) paths.push_back(resolveGrant(grant));
  return paths;
}

Bytes FolderAccess::makeBookmark(const std::string& folder) const {
  return FolderBookmark::create(folder, platform_);
}

}  // namespace tessel
