#include "FinderSync.h"

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

void FinderSync::watch(const MenuSnapshot& snapshot) {
  finder_.setDirectoryURLs(std::set<std::string>(snapshot.roots.begin(), snapshot.roots.end()));
}

void FinderSync::refreshDirectories() {
  const std::shared_ptr<const MenuSnapshot> snapshot = readSnapshot();
  watch(snapshot ? *snapshot : kNoSnapshot);
}

void FinderSync::registerCommand(Command command, MenuItem& item) {
  std::lock_guard lock(destinationLock);
  item.tag = nextTag;
  commands.emplace_hint(commands.end(), nextTag, std::move(command));
  ++nextTag;
  if (static_cast<std::int64_t>(commands.size()) > kMaxCommands) {
    commands.erase(commands.begin(), commands.lower_bound(nextTag - kMaxCommands));
  }
}

std::optional<FinderSync::Command> FinderSync::command(std::int64_t tag) {
  std::lock_guard lock(destinationLock);
  const auto found = commands.find(tag);
  if (found == commands.end()) return std::nullopt;
  return found->second;
}

}  // namespace tessel
