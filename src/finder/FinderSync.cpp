#include "FinderSync.h"

#include <algorithm>

#include "core/Localization.h"

namespace tessel {

FinderSync::FinderSync(FinderController& finder, NotificationCenter& notifications,
                       Workspace& workspace, Platform& platform)
    : finder_(finder), notifications_(notifications), workspace_(workspace), platform_(platform) {
  refreshDirectories();
  // The centre never calls the handler after removeObserver() returns, and the destructor
  // removes it first: the handler cannot outlive the object.
  observer = notifications_.addObserver(std::string(kSettingsChangedNotification), [this] {
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
  item.tag = registerCommands(std::make_shared<const std::vector<Command>>(1, std::move(command)));
}

std::int64_t FinderSync::registerCommands(std::shared_ptr<const std::vector<Command>> block) {
  std::lock_guard lock(destinationLock);
  const std::int64_t first = nextTag;
  nextTag += static_cast<std::int64_t>(block->size());
  if (!block->empty()) commands.push_back(CommandBlock{first, std::move(block)});
  // Tags are contiguous, so the table holds every tag from firstKeptTag on.
  if (nextTag - firstKeptTag > kMaxCommands) {
    firstKeptTag = nextTag - kMaxCommands;
    while (commands.front().firstTag +
               static_cast<std::int64_t>(commands.front().commands->size()) <=
           firstKeptTag) {
      commands.pop_front();
    }
  }
  return first;
}

std::optional<FinderSync::Command> FinderSync::command(std::int64_t tag) {
  std::lock_guard lock(destinationLock);
  if (tag < firstKeptTag || tag >= nextTag) return std::nullopt;
  const auto after = std::upper_bound(
      commands.begin(), commands.end(), tag,
      [](std::int64_t wanted, const CommandBlock& block) { return wanted < block.firstTag; });
  const CommandBlock& block = *std::prev(after);
  return (*block.commands)[static_cast<std::size_t>(tag - block.firstTag)];
}

}  // namespace tessel
