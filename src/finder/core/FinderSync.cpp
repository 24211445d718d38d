#include "FinderSync.h"

#include <algorithm>
#include <vector>

#include "core/Localization.h"
#include "request/HostAddress.h"

namespace tessel {

FinderSync::FinderSync(FinderController& finder, NotificationCenter& notifications,
                       Workspace& workspace, MenuForm form, Platform& platform)
    : form_(form),
      finder_(finder),
      notifications_(notifications),
      workspace_(workspace),
      platform_(platform) {
  refreshDirectories();
  // The centre never calls the handler after removeObserver() returns, and the destructor
  // removes it first: the handler cannot outlive the object.
  observer = notifications_.addObserver(std::string(HostAddress::kSettingsNotification), [this] {
    snapshots.invalidate();
    refreshDirectories();
  });
}

FinderSync::~FinderSync() {
  if (observer) notifications_.removeObserver(*observer);
}

std::string FinderSync::toolbarItemName() {
  return "Tessel";
}

std::string FinderSync::toolbarItemToolTip() {
  return localizedText("Tesselの移動メニュー", "Tessel move menu");
}

std::shared_ptr<const MenuSnapshot> FinderSync::readSnapshot() {
  return snapshots.current();
}

void FinderSync::watch(const std::shared_ptr<const MenuSnapshot>& snapshot) {
  std::lock_guard guard(menuLock);
  // A kept snapshot is the same file as before: its roots are already watched.
  if (watched == snapshot) return;
  const MenuSnapshot& roots = snapshot ? *snapshot : kNoSnapshot;
  finder_.setDirectoryURLs(std::set<std::string>(roots.roots.begin(), roots.roots.end()));
  watched = snapshot;
}

void FinderSync::refreshDirectories() {
  watch(readSnapshot());
}

void FinderSync::registerCommand(Command command, MenuItem& item) {
  item.tag = registerBlock(CommandBlock{0, 1, nullptr, std::move(command)});
}

std::int64_t FinderSync::registerBlock(CommandBlock block) {
  // Dropped blocks are destroyed after the lock is released: the last block of an old snapshot
  // frees its whole tree, which menus on other threads need not wait for.
  std::vector<CommandBlock> dropped;
  std::lock_guard lock(destinationLock);
  const std::int64_t first = block.firstTag = nextTag;
  nextTag += block.size;
  if (block.size > 0) commands.push_back(std::move(block));
  // Tags are contiguous, so the table holds every tag from firstKeptTag on.
  if (nextTag - firstKeptTag > kMaxCommands) {
    firstKeptTag = nextTag - kMaxCommands;
    while (commands.front().firstTag + commands.front().size <= firstKeptTag) {
      dropped.push_back(std::move(commands.front()));
      commands.pop_front();
    }
  }
  return first;
}

std::optional<FinderSync::Command> FinderSync::command(std::int64_t tag) {
  CommandBlock block;
  {
    std::lock_guard lock(destinationLock);
    if (tag < firstKeptTag || tag >= nextTag) return std::nullopt;
    block = *std::prev(std::upper_bound(
        commands.begin(), commands.end(), tag,
        [](std::int64_t wanted, const CommandBlock& kept) { return wanted < kept.firstTag; }));
  }
  if (block.alone) return block.alone;
  return commandOfMenu(block.snapshot.get(), static_cast<std::size_t>(tag - block.firstTag));
}

}  // namespace tessel
