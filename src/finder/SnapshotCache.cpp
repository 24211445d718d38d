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

std::shared_ptr<const MenuSnapshot> SnapshotCache::read() {
  try {
    return std::make_shared<const MenuSnapshot>(SharedContainer::snapshot(platform_));
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::shared_ptr<const MenuSnapshot> SnapshotCache::current() {
  std::optional<FileIdentity> now;
  try {
    now = identity(joinPath(SharedContainer::url(platform_), SharedContainer::kSnapshotFileName));
  } catch (const std::exception&) {
    return nullptr;  // no container: nothing to read
  }
  std::lock_guard guard(lock);
  if (now && kept == now) return snapshot;
  // The identity is taken before the read: should the host replace the file in between, the
  // kept identity is the older one and the next call reads again.
  snapshot = read();
  kept = now;
  return snapshot;
}

void SnapshotCache::invalidate() {
  std::lock_guard guard(lock);
  kept.reset();
  snapshot.reset();
}

}  // namespace tessel
