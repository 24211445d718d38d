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

void PinnedFolders::makeRoom(size_t needed) {
  if (open_.size() + needed <= kMaxOpenFolders) return;
  syncChanged();
  open_.clear();
}

FileAttributes PinnedFolders::attributes(const std::string& folder, const std::string& name) {
  makeRoom(1);
  return platform_.attributesOfItemIn(open(folder), name);
}

std::optional<FileAttributes> PinnedFolders::probe(const std::string& folder,
                                                   const std::string& name) {
  // Outside the try: a failed sync of earlier moves must stop the caller, not pass for absence.
  makeRoom(1);
  try {
    return platform_.probeItemIn(open(folder), name);
  } catch (const PlatformError&) {
    return std::nullopt;
  }
}

void PinnedFolders::move(const std::string& fromFolder, const std::string& fromName,
                         const std::string& toFolder, const std::string& toName) {
  // Made before, never between, the two opens: both references must stay valid.
  makeRoom(2);
  const OpenFolder& from = open(fromFolder);
  const OpenFolder& to = open(toFolder);
  platform_.moveItemBetween(from, fromName, to, toName);
  changed_.insert(fromFolder);
  changed_.insert(toFolder);
}

void PinnedFolders::syncChanged() {
  for (auto folder = changed_.begin(); folder != changed_.end(); folder = changed_.erase(folder)) {
    platform_.syncFolder(*open_.at(*folder));
  }
}

}  // namespace tessel
