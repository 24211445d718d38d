// Building the context menu from the snapshot. The file manager asks for a menu on every
// right-click and every change of selection, and the user chooses from few of them: so a menu
// makes only its items, and the command of an item is made when it is chosen, by building the
// same menu from the same snapshot again.
#include "FinderSync.h"
#include "core/Localization.h"

namespace tessel {

// Every title of one menu, chosen once per build: the language cannot sensibly change halfway
// through a menu, and a large hierarchy would otherwise ask for it hundreds of times.
struct FinderSync::MenuTexts {
  std::string moveTo = localizedText("移動先", "Move To");
  std::string moveToFavorite = localizedText("お気に入りへ移動", "Move to Favorite");
  std::string moveThroughFolders = localizedText("フォルダ階層から移動", "Move through Folders");
  std::string chooseFolder = localizedText("フォルダ階層から移動…", "Move through Folders…");
  std::string recentDestinations = localizedText("最近の移動先", "Recent Destinations");
  std::string moveHere = localizedText("ここへ移動", "Move Here");
  std::string openFolder = localizedText("フォルダを開く", "Open Folder");
  std::string undo = localizedText("直前の移動を取り消す", "Undo Last Move");
  std::string settings = localizedText("移動の設定を開く…", "Open Move Settings…");
};

// Builds one menu in tag order from `nextTag` on. When `commands` is given, it also collects the
// command of every item, in the same order.
struct FinderSync::MenuBuilder {
  MenuTexts texts;
  MenuForm form;
  bool canMove;
  std::int64_t nextTag;
  std::vector<Command>* commands;

  // `command` makes the item's command, only when it is collected. Every move item is enabled
  // exactly when there is something to move, every other command always.
  template <class MakeCommand>
  void addCommandItem(Menu& menu, std::string title, bool moves, MakeCommand command) {
    if (commands) commands->push_back(command());
    menu.items.push_back(
        MenuItem{std::move(title), nextTag++, moves ? canMove : true, false, nullptr});
  }

  // Room for all its items is made at once: a menu is built on every right-click.
  static std::unique_ptr<Menu> submenuTitled(std::string title, std::size_t itemCount) {
    auto menu = std::make_unique<Menu>(Menu{std::move(title), {}});
    menu->items.reserve(itemCount);
    return menu;
  }

  static bool isFavorite(const std::string& path, const MenuSnapshot& snapshot) {
    for (const MenuDestination& favorite : snapshot.favorites) {
      if (favorite.path == path) return true;
    }
    return false;
  }

  void addMenus(const MenuSnapshot& snapshot, Menu& menu) {
    auto favorites = submenuTitled(texts.moveToFavorite, snapshot.favorites.size());
    for (const MenuDestination& favorite : snapshot.favorites) {
      addCommandItem(*favorites, favorite.name, true, [&] {
        return Command{Command::Move{favorite.path, false}};
      });
    }
    menu.items.push_back(MenuItem::opening(texts.moveTo, std::move(favorites)));

    const bool hierarchyFits = rowsOf(snapshot) <= form.rowBudget;
    if (hierarchyFits) {
      auto hierarchy = submenuTitled(texts.moveThroughFolders, snapshot.favorites.size());
      for (const MenuDestination& favorite : snapshot.favorites)
        addFolderMenu(favorite, *hierarchy);
      menu.items.push_back(MenuItem::opening(texts.moveThroughFolders, std::move(hierarchy)));
    }
    if (!hierarchyFits || form.chooserBesideHierarchy) {
      addCommandItem(menu, texts.chooseFolder, true, [] { return Command{Command::Choose{}}; });
    }

    if (!snapshot.recent.empty()) {
      auto recent = submenuTitled(texts.recentDestinations, snapshot.recent.size());
      for (const MenuDestination& destination : snapshot.recent) {
        addCommandItem(*recent, destination.name, true, [&] {
          return Command{Command::Move{destination.path, !isFavorite(destination.path, snapshot)}};
        });
      }
      menu.items.push_back(MenuItem::opening(texts.recentDestinations, std::move(recent)));
    }

    menu.items.push_back(MenuItem::separatorItem());
    addCommandItem(menu, texts.undo, false, [] { return Command{Command::Undo{}}; });
  }

  // The rows of the whole menu with the hierarchy in it, as addMenus and addFolderMenu make
  // them, without making any.
  static std::size_t rowsOf(const MenuSnapshot& snapshot) {
    std::size_t rows = 1 + snapshot.favorites.size() + 1;  // Move To with its items, the hierarchy
    for (const MenuDestination& favorite : snapshot.favorites) rows += 1 + rowsBelow(favorite);
    if (!snapshot.recent.empty()) rows += 1 + snapshot.recent.size();
    return rows + 3;  // the separator, undo and settings
  }
  // A folder's own items: "Move Here", "Open Folder", then a separator and its sub-folders.
  static std::size_t rowsBelow(const MenuDestination& destination) {
    std::size_t rows = 2;
    if (!destination.children.empty()) rows += 1;
    for (const MenuDestination& child : destination.children) rows += 1 + rowsBelow(child);
    return rows;
  }

  void addFolderMenu(const MenuDestination& destination, Menu& menu) {
    auto folder = submenuTitled(destination.name,
                                destination.children.empty() ? 2 : 3 + destination.children.size());
    addCommandItem(*folder, texts.moveHere, true, [&] {
      return Command{Command::Move{destination.path, true}};
    });
    addCommandItem(*folder, texts.openFolder, false,
                   [&] { return Command{Command::OpenFolder{destination.path}}; });
    if (!destination.children.empty()) {
      folder->items.push_back(MenuItem::separatorItem());
      for (const MenuDestination& child : destination.children) addFolderMenu(child, *folder);
    }
    menu.items.push_back(MenuItem::opening(destination.name, std::move(folder)));
  }

  void addSettingsItem(Menu& menu) {
    addCommandItem(menu, texts.settings, false, [] { return Command{Command::Settings{}}; });
  }

  // An unreadable snapshot leaves only the item through which the user reaches the host.
  Menu build(const MenuSnapshot* snapshot) {
    Menu menu{"Tessel", {}};
    menu.items.reserve(6);  // the three submenus, the separator and the two commands
    if (snapshot) addMenus(*snapshot, menu);
    addSettingsItem(menu);
    return menu;
  }
};

namespace {

void shiftTags(Menu& menu, std::int64_t by) {
  for (MenuItem& item : menu.items) {
    if (item.tag) *item.tag += by;
    if (item.submenu) shiftTags(*item.submenu, by);
  }
}

}  // namespace

Menu FinderSync::buildMenu() {
  // One read serves both the watched folders and the menu, so they never disagree.
  const std::shared_ptr<const MenuSnapshot> snapshot = readSnapshot();
  watch(snapshot);
  bool canMove = false;
  if (snapshot) {
    const std::optional<std::vector<std::string>> selection = finder_.selectedItemURLs();
    canMove = selection && !selection->empty();
  }
  // Numbered from 0, then moved onto the tags the block gets.
  MenuBuilder builder{MenuTexts{}, form_, canMove, 0, nullptr};
  Menu menu = builder.build(snapshot.get());
  shiftTags(menu, registerBlock(CommandBlock{0, builder.nextTag, snapshot, std::nullopt}));
  return menu;
}

FinderSync::Command FinderSync::commandOfMenu(const MenuSnapshot* snapshot,
                                              std::size_t index) const {
  std::vector<Command> commands;
  MenuBuilder{MenuTexts{}, form_, false, 0, &commands}.build(snapshot);
  return commands.at(index);
}

}  // namespace tessel
