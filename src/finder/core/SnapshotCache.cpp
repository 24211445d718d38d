#include "SnapshotCache.h"

#include "container/SharedContainer.h"
#include "path/PathText.h"

namespace tessel {

std::optional<SnapshotCache::FileIdentity> SnapshotCache::identity(const std::string& path) {
  const std::optional<FileAttributes> attributes = platform_.probeItem(path);
  if (!attributes || attributes->type != FileType::regular || !attributes->device ||
      !attributes->inode) {
    return std::nullopt;
  }
  return FileIdentity{*attributes->device, *attributes->inode, attributes->size,
                      attributes->modificationNanoseconds};
}

std::shared_ptr<const MenuSnapshot> SnapshotCache::read(const std::string& path) {
  try {
    return std::make_shared<const MenuSnapshot>(SharedContainer::snapshotAt(path, platform_));
  } catch (const std::exception&) {
    return nullptr;
  }
}

const std::string* SnapshotCache::snapshotPath() {
  if (!path) {
    try {
      path = joinPath(SharedContainer::url(platform_), SharedContainer::kSnapshotFileName);
    } catch (const std::exception&) {
      return nullptr;  // no container: looked for again on the next call
    }
  }
  return &*path;
}

std::shared_ptr<const MenuSnapshot> SnapshotCache::current() {
  std::lock_guard guard(lock);
  const std::string* file = snapshotPath();
  if (!file) return nullptr;
  const std::optional<FileIdentity> now = identity(*file);
  if (now && kept == now) return snapshot;
  // The identity is taken before the read: should the host replace the file in between, the
  // kept identity is the older one and the next call reads again.
  snapshot = read(*file);
  kept = now;
  return snapshot;
}

void SnapshotCache::invalidate() {
  std::lock_guard guard(lock);
  kept.reset();
  snapshot.reset();
}

}  // namespace tessel
