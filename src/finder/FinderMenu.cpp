// Building the context menu from the snapshot.
#include "FinderSync.h"
#include "core/Localization.h"

namespace tessel {

// Every title of one menu, chosen once per build: the language cannot sensibly change halfway
// through a menu, and a large hierarchy would otherwise ask for it hundreds of times.
struct FinderSync::MenuTexts {
  std::string moveTo = localizedText("移動先", "Move To");
  std::string moveToFavorite = localizedText("お気に入りへ移動", "Move to Favorite");
  std::string moveThroughFolders = localizedText("フォルダ階層から移動", "Move through Folders");
  std::string recentDestinations = localizedText("最近の移動先", "Recent Destinations");
  std::string moveHere = localizedText("ここへ移動", "Move Here");
  std::string openFolder = localizedText("フォルダを開く", "Open Folder");
  std::string undo = localizedText("直前の移動を取り消す", "Undo Last Move");
};

namespace {

std::unique_ptr<Menu> submenuTitled(std::string title) {
  return std::make_unique<Menu>(Menu{std::move(title), {}});
}

bool isFavorite(const std::string& path, const MenuSnapshot& snapshot) {
  for (const MenuDestination& favorite : snapshot.favorites) {
    if (favorite.path == path) return true;
  }
  return false;
}

}  // namespace

void FinderSync::addCommandItem(Menu& menu, std::string title, Command command, bool enabled) {
  MenuItem item{std::move(title), std::nullopt, enabled, false, nullptr};
  registerCommand(std::move(command), item);
  menu.items.push_back(std::move(item));
}

Menu FinderSync::buildMenu() {
  // One read serves both the watched folders and the menu, so they never disagree.
  const std::shared_ptr<const MenuSnapshot> snapshot = readSnapshot();
  watch(snapshot ? *snapshot : kNoSnapshot);
  Menu menu{"Tessel", {}};
  if (!snapshot) {
    addSettingsItem(menu);
    return menu;
  }
  const MenuTexts texts;
  const std::optional<std::vector<std::string>> selection = finder_.selectedItemURLs();
  const bool canMove = selection && !selection->empty();

  auto favorites = submenuTitled(texts.moveToFavorite);
  for (const MenuDestination& favorite : snapshot->favorites) {
    addCommandItem(*favorites, favorite.name, Command{Command::Move{favorite.path, false}},
                   canMove);
  }
  menu.items.push_back(MenuItem::opening(texts.moveTo, std::move(favorites)));

  auto hierarchy = submenuTitled(texts.moveThroughFolders);
  for (const MenuDestination& favorite : snapshot->favorites) {
    addFolderMenu(favorite, *hierarchy, canMove, texts);
  }
  menu.items.push_back(MenuItem::opening(texts.moveThroughFolders, std::move(hierarchy)));

  if (!snapshot->recent.empty()) {
    auto recent = submenuTitled(texts.recentDestinations);
    for (const MenuDestination& destination : snapshot->recent) {
      const bool hierarchical = !isFavorite(destination.path, *snapshot);
      addCommandItem(*recent, destination.name,
                     Command{Command::Move{destination.path, hierarchical}}, canMove);
    }
    menu.items.push_back(MenuItem::opening(texts.recentDestinations, std::move(recent)));
  }

  menu.items.push_back(MenuItem::separatorItem());
  addCommandItem(menu, texts.undo, Command{Command::Undo{}}, true);
  addSettingsItem(menu);
  return menu;
}

void FinderSync::addFolderMenu(const MenuDestination& destination, Menu& menu, bool enabled) {
  addFolderMenu(destination, menu, enabled, MenuTexts{});
}

void FinderSync::addFolderMenu(const MenuDestination& destination, Menu& menu, bool enabled,
                               const MenuTexts& texts) {
  auto folder = submenuTitled(destination.name);
  addCommandItem(*folder, texts.moveHere, Command{Command::Move{destination.path, true}}, enabled);
  addCommandItem(*folder, texts.openFolder, Command{Command::OpenFolder{destination.path}}, true);
  if (!destination.children.empty()) {
    folder->items.push_back(MenuItem::separatorItem());
    for (const MenuDestination& child : destination.children) {
      addFolderMenu(child, *folder, enabled, texts);
    }
  }
  menu.items.push_back(MenuItem::opening(destination.name, std::move(folder)));
}

void FinderSync::addSettingsItem(Menu& menu) {
  addCommandItem(menu, localizedText("移動の設定を開く…", "Open Move Settings…"),
                 Command{Command::Settings{}}, true);
}

}  // namespace tessel
