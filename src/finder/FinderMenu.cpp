// Building the context menu from the snapshot. The file manager asks for a menu on every
// right-click and every change of selection, while the snapshot changes only when the host
// publishes: so the menu of a snapshot is built once, with its commands in a list of their own,
// and each request copies it under fresh tags.
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
  std::string settings = localizedText("移動の設定を開く…", "Open Move Settings…");
  friend bool operator==(const MenuTexts&, const MenuTexts&) = default;
};

// A built menu whose command items carry the index of their command in `commands` as tag.
struct FinderSync::MenuTemplate {
  std::shared_ptr<const MenuSnapshot> snapshot;
  MenuTexts texts;
  Menu menu;
  std::shared_ptr<const std::vector<Command>> commands;
};

// Builds one menu in tag order, collecting the commands instead of registering them.
struct FinderSync::MenuBuilder {
  const MenuTexts& texts;
  std::vector<Command> commands;

  void addCommandItem(Menu& menu, std::string title, Command command) {
    MenuItem item{std::move(title), static_cast<std::int64_t>(commands.size()), true, false,
                  nullptr};
    commands.push_back(std::move(command));
    menu.items.push_back(std::move(item));
  }

  static std::unique_ptr<Menu> submenuTitled(std::string title) {
    return std::make_unique<Menu>(Menu{std::move(title), {}});
  }

  static bool isFavorite(const std::string& path, const MenuSnapshot& snapshot) {
    for (const MenuDestination& favorite : snapshot.favorites) {
      if (favorite.path == path) return true;
    }
    return false;
  }

  void addMenus(const MenuSnapshot& snapshot, Menu& menu) {
    auto favorites = submenuTitled(texts.moveToFavorite);
    for (const MenuDestination& favorite : snapshot.favorites) {
      addCommandItem(*favorites, favorite.name, Command{Command::Move{favorite.path, false}});
    }
    menu.items.push_back(MenuItem::opening(texts.moveTo, std::move(favorites)));

    auto hierarchy = submenuTitled(texts.moveThroughFolders);
    for (const MenuDestination& favorite : snapshot.favorites) addFolderMenu(favorite, *hierarchy);
    menu.items.push_back(MenuItem::opening(texts.moveThroughFolders, std::move(hierarchy)));

    if (!snapshot.recent.empty()) {
      auto recent = submenuTitled(texts.recentDestinations);
      for (const MenuDestination& destination : snapshot.recent) {
        const bool hierarchical = !isFavorite(destination.path, snapshot);
        addCommandItem(*recent, destination.name,
                       Command{Command::Move{destination.path, hierarchical}});
      }
      menu.items.push_back(MenuItem::opening(texts.recentDestinations, std::move(recent)));
    }

    menu.items.push_back(MenuItem::separatorItem());
    addCommandItem(menu, texts.undo, Command{Command::Undo{}});
  }

  void addFolderMenu(const MenuDestination& destination, Menu& menu) {
    auto folder = submenuTitled(destination.name);
    addCommandItem(*folder, texts.moveHere, Command{Command::Move{destination.path, true}});
    addCommandItem(*folder, texts.openFolder, Command{Command::OpenFolder{destination.path}});
    if (!destination.children.empty()) {
      folder->items.push_back(MenuItem::separatorItem());
      for (const MenuDestination& child : destination.children) addFolderMenu(child, *folder);
    }
    menu.items.push_back(MenuItem::opening(destination.name, std::move(folder)));
  }

  void addSettingsItem(Menu& menu) {
    addCommandItem(menu, texts.settings, Command{Command::Settings{}});
  }
};

namespace {

// A copy of `shape` with its tags counted from `firstTag`: every move item enabled exactly when
// there is something to move, every other command always.
Menu instantiate(const Menu& shape, const std::vector<FinderSync::Command>& commands,
                 std::int64_t firstTag, bool canMove) {
  Menu menu{shape.title, {}};
  menu.items.reserve(shape.items.size());
  for (const MenuItem& item : shape.items) {
    if (item.submenu) {
      menu.items.push_back(MenuItem::opening(
          item.title,
          std::make_unique<Menu>(instantiate(*item.submenu, commands, firstTag, canMove))));
    } else if (item.tag) {
      const bool moves = std::holds_alternative<FinderSync::Command::Move>(
          commands[static_cast<std::size_t>(*item.tag)].value);
      menu.items.push_back(
          MenuItem{item.title, firstTag + *item.tag, moves ? canMove : true, false, nullptr});
    } else {
      menu.items.push_back(MenuItem::separatorItem());
    }
  }
  return menu;
}

}  // namespace

std::shared_ptr<const FinderSync::MenuTemplate> FinderSync::menuTemplate(
    const std::shared_ptr<const MenuSnapshot>& snapshot) {
  MenuTexts texts;
  {
    std::lock_guard guard(menuLock);
    if (keptMenu && keptMenu->snapshot == snapshot && keptMenu->texts == texts) return keptMenu;
  }
  MenuBuilder builder{texts, {}};
  Menu menu{"Tessel", {}};
  // An unreadable snapshot leaves only the item through which the user reaches the host.
  if (snapshot) builder.addMenus(*snapshot, menu);
  builder.addSettingsItem(menu);
  auto built = std::make_shared<const MenuTemplate>(
      MenuTemplate{snapshot, std::move(texts), std::move(menu),
                   std::make_shared<const std::vector<Command>>(std::move(builder.commands))});
  std::lock_guard guard(menuLock);
  keptMenu = built;
  return built;
}

Menu FinderSync::buildMenu() {
  // One read serves both the watched folders and the menu, so they never disagree.
  const std::shared_ptr<const MenuSnapshot> snapshot = readSnapshot();
  watch(snapshot);
  const std::shared_ptr<const MenuTemplate> shape = menuTemplate(snapshot);
  bool canMove = false;
  if (snapshot) {
    const std::optional<std::vector<std::string>> selection = finder_.selectedItemURLs();
    canMove = selection && !selection->empty();
  }
  return instantiate(shape->menu, *shape->commands, registerCommands(shape->commands), canMove);
}

}  // namespace tessel
