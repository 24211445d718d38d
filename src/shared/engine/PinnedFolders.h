// The folders one engine call works in, opened by descriptor along their canonical paths
// without following any link. Items are read and moved relative to these descriptors, so a
// folder on the way that is swapped for a symbolic link after the checks cannot send an item
// anywhere that was not checked: opening then fails with ELOOP instead.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace tessel {

class PinnedFolders {
 public:
  explicit PinnedFolders(Platform& platform) : platform_(platform) {}

  // `folder` is a canonical path; `name` one component inside it.
  FileAttributes attributes(const std::string& folder, const std::string& name);
  bool exists(const std::string& folder, const std::string& name);
  void move(const std::string& fromFolder, const std::string& fromName, const std::string& toFolder,
            const std::string& toName);

 private:
  const OpenFolder& open(const std::string& folder);

  Platform& platform_;
  std::map<std::string, std::unique_ptr<OpenFolder>> open_;
};

}  // namespace tessel
