// The extension core as a file manager's module holds it: the watched folders and the
// selection of each request, the settings signal heard on the session bus, and the host reached
// there or started as a program. One per menu provider (or Dolphin's plugin), made and destroyed
// on the file manager's main thread, where the settings signal is then delivered.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BusWorkspace.h"
#include "FinderSync.h"
#include "GDBusNotificationCenter.h"
#include "ModuleFinderController.h"
#include "SpawnWorkspace.h"

namespace tessel {

class ModuleSession {
 public:
  using Selection = ModuleFinderController::Selection;

  // `itemsUpdated`, where given, runs after the core has taken in a new publication: it has a
  // file manager that keeps the menu it built for a selection ask for it again.
  explicit ModuleSession(MenuForm form, std::function<void()> itemsUpdated = {});
  ~ModuleSession();
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  // The menu for these selected items, or none where it is not offered.
  std::optional<Menu> menuForItems(const Selection& selection);
  // The menu of the background of `folder`, or none where it is not offered. A background has
  // no selection: the menu shows its move items disabled.
  std::optional<Menu> menuInFolder(const std::string& folder);
  // Carries out the command of a menu item, built for `selection`.
  void execute(std::int64_t tag, const Selection& selection);

 private:
  Menu menuFor(const Selection& selection);

  ModuleFinderController finder;
  GDBusNotificationCenter notifications;
  // The host on the session bus, started as a program when the bus cannot reach it.
  SpawnWorkspace programs;
  BusWorkspace workspace{programs};
  // After the centre, so it goes first and stops observing before the centre goes away.
  FinderSync sync;
  // Subscribed after the core, which reads the new snapshot first.
  std::optional<NotificationCenter::Token> itemsUpdated_;
};

}  // namespace tessel
