#include "engine/PinnedFolders.h"

#include "core/Errors.h"

namespace tessel {
namespace {

// Enough for a batch gathered from many folders without running out of descriptors.
constexpr size_t kMaxOpenFolders = 64;

}  // namespace

const OpenFolder& PinnedFolders::open(const std::string& folder) {
  if (const auto found = open_.find(folder); found != open_.end()) return *found->second;
  std::unique_ptr<OpenFolder> opened = platform_.openFolderNoFollow(folder);
  return *open_.emplace(folder, std::move(opened)).first->second;
}

FileAttributes PinnedFolders::attributes(const std::string& folder, const std::string& name) {
  if (open_.size() >= kMaxOpenFolders) open_.clear();
  return platform_.attributesOfItemIn(open(folder), name);
}

bool PinnedFolders::exists(const std::string& folder, const std::string& name) {
  try {
    attributes(folder, name);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

void PinnedFolders::move(const std::string& fromFolder, const std::string& fromName,
                         const std::string& toFolder, const std::string& toName) {
  // Cleared before, never between, the two opens: both references must stay valid.
  if (open_.size() + 2 > kMaxOpenFolders) open_.clear();
  const OpenFolder& from = open(fromFolder);
  const OpenFolder& to = open(toFolder);
  platform_.moveItemBetween(from, fromName, to, toName);
}

}  // namespace tessel
