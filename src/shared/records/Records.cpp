#include "records/Records.h"

#include "path/PathText.h"

namespace tessel {

FolderGrant FolderGrant::make(const std::string& folderPath, Bytes bookmark) {
  std::string path = folderPath;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return FolderGrant{Uuid::random(), lastComponent(path), path, std::move(bookmark)};
}

MoveRequest MoveRequest::make(std::vector<std::string> sources, std::string destination,
                              bool hierarchical, std::optional<std::string> operation,
                              Platform& platform) {
  return MoveRequest{Uuid::random(),     Timestamp::now(platform),
                     std::move(sources), std::move(destination),
                     hierarchical,       std::move(operation)};
}

}  // namespace tessel
