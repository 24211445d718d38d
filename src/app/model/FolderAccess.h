// How the host reaches the folders of its grants. A direct build reaches every folder by its
// plain path. A store build reaches a folder only through its grant's bookmark, and only while
// it holds the access that reopenScopes() opened for it.
#pragma once

#include <string>
#include <vector>

#include "model/HostSettings.h"
#include "platform/Platform.h"

namespace tessel {

class FolderAccess {
 public:
  FolderAccess(bool direct, Platform& platform) : direct_(direct), platform_(platform) {}

  bool direct() const { return direct_; }

  // Gives up every held folder and opens the source folders, then the favourites, again, in
  // their stored order. Stops at the first grant that is stale or cannot be opened, throwing
  // the renewal message (or the bookmark's own resolution error); the folders opened before it
  // stay held. Does nothing in a direct build.
  void reopenScopes(const HostSettings& settings);

  // The path through which the host reaches the grant's folder now. In a store build, throws
  // the renewal message when the bookmark is stale or its folder is not held.
  std::string resolveGrant(const FolderGrant& grant) const;

  // resolveGrant() of each grant, in order; the first error is thrown.
  std::vector<std::string> resolveGrants(const std::vector<FolderGrant>& grants) const;

  // The bookmark to store for a folder the user picked.
  Bytes makeBookmark(const std::string& folder) const;

  // The folders whose access is held now.
  const std::vector<std::string>& retainedScopes() const { return retainedScopes_; }

 private:
  bool direct_;
  Platform& platform_;
  std::vector<std::string> retainedScopes_;
};

}  // namespace tessel
