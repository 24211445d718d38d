// The decoded menu snapshot, kept between right-clicks. The file manager is a long-running
// process and the host replaces the snapshot only when it publishes, so it is decoded again
// only when "menu.json" is another file than last time (device, inode, size, modification
// time) or when told that the host published. Safe to call from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

// What an unreadable snapshot shows: nothing.
inline const MenuSnapshot kNoSnapshot{};

class SnapshotCache {
 public:
  explicit SnapshotCache(Platform& platform) : platform_(platform) {}

  // The snapshot, or null when the container, the file or its content cannot be read.
  std::shared_ptr<const MenuSnapshot> current();
  // Forgets the kept snapshot: the next current() reads the file whatever it looks like.
  void invalidate();

 private:
  struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modificationNanoseconds = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
  };

  // None when the file is missing or cannot be told apart from a later one (no inode, a
  // symbolic link): such a snapshot is read on every call.
  std::optional<FileIdentity> identity(const std::string& path);
  std::shared_ptr<const MenuSnapshot> read(const std::string& path);
  // The container's "menu.json", or null when there is no container. Kept once found: the
  // group and the data folder are fixed for the life of the process, and finding them costs a
  // read of the install's information file and a walk of the folders on every right-click.
  const std::string* snapshotPath();

  Platform& platform_;
  std::mutex lock;  // guards the members below; held across a read, so callers decode once
  std::optional<std::string> path;
  std::optional<FileIdentity> kept;
  std::shared_ptr<const MenuSnapshot> snapshot;
};

}  // namespace tessel
