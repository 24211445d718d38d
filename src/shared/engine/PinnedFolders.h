// The folders one engine call works in, opened by descriptor along their canonical paths
// without following any link. Items are read and moved relative to these descriptors, so a
// folder on the way that is swapped for a symbolic link after the checks cannot send an item
// anywhere that was not checked: opening then fails with ELOOP instead.
//
// Moves are not synced one by one: the folders they changed are remembered and synced
// together by syncChanged(), which a batch calls before it records its moves as done.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/Platform.h"

namespace tessel {

class PinnedFolders {
 public:
  explicit PinnedFolders(Platform& platform) : platform_(platform) {}

  // `folder` is a canonical path; `name` one component inside it.
  FileAttributes attributes(const std::string& folder, const std::string& name);
  // The attributes, or none when they cannot be read (the folder cannot be opened included).
  std::optional<FileAttributes> probe(const std::string& folder, const std::string& name);
  void move(const std::string& fromFolder, const std::string& fromName, const std::string& toFolder,
            const std::string& toName);
  // Syncs every folder that a move left or entered since the last call, so that no power loss
  // can take those moves back.
  void syncChanged();

 private:
  const OpenFolder& open(const std::string& folder);
  // Closes every folder when `needed` more would pass the limit; changed ones are synced first.
  void makeRoom(size_t needed);

  Platform& platform_;
  std::map<std::string, std::unique_ptr<OpenFolder>> open_;
  std::set<std::string> changed_;  // open folders that moves have changed since the last sync
};

}  // namespace tessel
