// The file-manager extension's principal object. It keeps the file manager's watched folders in
// step with the host's menu snapshot, builds the context menu from that snapshot (decoded
// once per publication), and turns a chosen item into a move request for the host. It never
// touches the user's files itself.
//
// The file manager calls it from threads of its choosing. Besides the snapshot cache, which
// guards itself, they share the command table, guarded by `destinationLock` and nothing else,
// and the snapshot whose folders are watched, guarded by `menuLock`.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "FinderController.h"
#include "Menu.h"
#include "NotificationCenter.h"
#include "SnapshotCache.h"
#include "Workspace.h"
#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

// How a front end offers the folder hierarchy. GTK builds and measures every row of every
// submenu before it shows a menu, so a front end on it gives a row budget: a menu that would
// be longer offers the hierarchy as one item, "Move through Folders…", which opens the
// host's chooser window. A front end that lists the menu as text offers that item beside
// the hierarchy.
struct MenuForm {
  std::size_t rowBudget = SIZE_MAX;  // the most rows of a menu with the hierarchy in it
  bool chooserBesideHierarchy = false;
};

class FinderSync {
 public:
  // What a menu item does when chosen.
  struct Command {
    struct Move {  // move the selected items into `path`
      std::string path;
      bool hierarchical = false;
      friend bool operator==(const Move&, const Move&) = default;
    };
    struct OpenFolder {  // have the host show `path` in the file manager
      std::string path;
      friend bool operator==(const OpenFolder&, const OpenFolder&) = default;
    };
    struct Undo {  // have the host undo the last move
      friend bool operator==(const Undo&, const Undo&) = default;
    };
    struct Settings {  // open the host application
      friend bool operator==(const Settings&, const Settings&) = default;
    };
    struct Choose {  // have the host let the user pick where the selected items go
      friend bool operator==(const Choose&, const Choose&) = default;
    };

    std::variant<Move, OpenFolder, Undo, Settings, Choose> value;
    friend bool operator==(const Command&, const Command&) = default;
  };

  // The most recently registered commands kept; older menu items stop working.
  static constexpr std::int64_t kMaxCommands = 8192;

  // Watches the snapshot's folders at once and again on every settings-changed notification.
  FinderSync(FinderController& finder, NotificationCenter& notifications, Workspace& workspace,
             MenuForm form = {}, Platform& platform = Platform::standard());
  ~FinderSync();
  FinderSync(const FinderSync&) = delete;
  FinderSync& operator=(const FinderSync&) = delete;

  static std::string toolbarItemName();
  static std::string toolbarItemToolTip();

  // Hands the snapshot's roots to the file manager as the watched folders; an unreadable
  // snapshot watches none.
  void refreshDirectories();
  // A new menu from the current snapshot, for every kind of menu alike; every command
  // item gets a new tag. An unreadable snapshot gives only the settings item.
  Menu buildMenu();
  // Gives `item` the next tag and records `command` under it.
  void registerCommand(Command command, MenuItem& item);

  // The command registered under `tag`, if it is still in the table.
  std::optional<Command> command(std::int64_t tag);

  // The action of every command item: never fails; problems go to the system log.
  void execute(std::int64_t tag);
  // Stores `request` in the shared container, then wakes the host with its identifier.
  void send(const MoveRequest& request);
  // Opens the host as the user would.
  void openHostApplication();

 private:
  struct MenuTexts;
  struct MenuBuilder;
  // Consecutive tags from `firstTag` on. A menu's block holds the snapshot it was built from
  // rather than its commands: the snapshot never changes, so the command of any of its items
  // can be worked out again when chosen, and a menu costs no more than its items.
  struct CommandBlock {
    std::int64_t firstTag = 0;
    std::int64_t size = 0;
    std::shared_ptr<const MenuSnapshot> snapshot;  // none: the menu of an unreadable snapshot
    std::optional<Command> alone;                  // a command registered by itself
  };

  // The snapshot, or none when the container, the file or its content cannot be read.
  std::shared_ptr<const MenuSnapshot> readSnapshot();
  // Hands the roots of `snapshot` to the file manager unless they were handed for it last.
  void watch(const std::shared_ptr<const MenuSnapshot>& snapshot);
  // Registers `block` under the next tags, as many single registrations would; the first tag.
  std::int64_t registerBlock(CommandBlock block);
  // The command of the item at `index`, in tag order, of a menu built from `snapshot`.
  Command commandOfMenu(const MenuSnapshot* snapshot, std::size_t index) const;
  // The selection at the time of the choice, which may differ from the one the menu was built
  // for; none (logged) when there is nothing to move.
  std::optional<std::vector<std::string>> chosenSelection();

  MenuForm form_;

  FinderController& finder_;
  NotificationCenter& notifications_;
  Workspace& workspace_;
  Platform& platform_;
  SnapshotCache snapshots{platform_};

  std::mutex menuLock;  // guards `watched`; never held while taking destinationLock
  std::optional<std::shared_ptr<const MenuSnapshot>> watched;

  std::optional<NotificationCenter::Token> observer;
  std::mutex destinationLock;  // not recursive: never taken twice by one thread
  std::int64_t nextTag = 1;
  std::int64_t firstKeptTag = 1;      // older tags were dropped
  std::deque<CommandBlock> commands;  // in tag order
};

}  // namespace tessel
