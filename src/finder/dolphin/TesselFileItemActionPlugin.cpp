#include "TesselFileItemActionPlugin.h"

#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <mutex>

#include "BusWorkspace.h"
#include "DolphinMenuActions.h"
#include "FinderSync.h"
#include "GDBusNotificationCenter.h"
#include "ModuleFinderController.h"
#include "SpawnWorkspace.h"
#include "core/Bundle.h"

namespace tessel {

// The extension core with Dolphin's side of each interface, made and used on Dolphin's main
// thread. Qt 5 runs there on GLib's main context, where the settings signal is delivered.
struct DolphinSession {
  ModuleFinderController finder;
  GDBusNotificationCenter notifications;
  // The host on the session bus, started as a program when the bus cannot reach it.
  SpawnWorkspace programs;
  BusWorkspace workspace{programs};
  // Qt builds a submenu's widgets only when it opens, so the whole hierarchy costs little.
  FinderSync sync{finder, notifications, workspace, {SIZE_MAX, false}};
};

namespace {

// The local paths of the items; none when one of them has no local path (a remote folder, the
// trash, a search result without one).
std::optional<std::vector<std::string>> localPaths(const KFileItemListProperties& items) {
  std::vector<std::string> paths;
  for (const KFileItem& item : items.items()) {
    bool local = false;
    const QUrl url = item.mostLocalUrl(&local);
    if (!local) return std::nullopt;
    paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}

// Whether Dolphin asks for the menu of a view's background: it then hands the view's folder as
// the one item. A watched folder is shown by a folder that is not watched, so such an item is
// a background; any other folder may be a selected item as well, and is taken as one.
bool isBackground(ModuleFinderController& finder, const KFileItemListProperties& items,
                  const std::vector<std::string>& paths) {
  return paths.size() == 1 && items.isDirectory() && !finder.offersMenuForItems(paths) &&
         finder.offersMenuInFolder(paths[0]);
}

}  // namespace

TesselFileItemActionPlugin::TesselFileItemActionPlugin(QObject* parent, const QVariantList&)
    : KAbstractFileItemActionPlugin(parent) {
  // Before the core first looks for the host, and once: Dolphin makes a plugin per window.
  static std::once_flag located;
  std::call_once(located, [] { Bundle::setModuleToPrograms(TESSEL_MODULE_TO_PROGRAMS); });
  session_ = std::make_shared<DolphinSession>();
}

TesselFileItemActionPlugin::~TesselFileItemActionPlugin() = default;

QList<QAction*> TesselFileItemActionPlugin::actions(const KFileItemListProperties& items,
                                                    QWidget*) {
  // Dolphin shows one context menu at a time and deletes it once closed: the last menu's
  // actions are no longer shown.
  if (lastMenu_) lastMenu_->deleteLater();

  std::optional<std::vector<std::string>> paths = localPaths(items);
  if (!paths) return {};
  auto selection = std::make_shared<std::vector<std::string>>();
  if (isBackground(session_->finder, items, *paths)) {
    // A background has no selection: the menu shows its move items disabled.
  } else if (session_->finder.offersMenuForItems(*paths)) {
    *selection = std::move(*paths);
  } else {
    return {};
  }

  Menu menu;
  {
    ModuleFinderController::SelectionScope scope(session_->finder, selection);
    menu = session_->sync.buildMenu();
  }
  // Each menu holds the session: its actions never outlive what they call.
  lastMenu_ = new DolphinMenuActions(
      std::move(menu),
      [session = session_, selection](std::int64_t tag) {
        ModuleFinderController::SelectionScope scope(session->finder, selection);
        session->sync.execute(tag);
      },
      this);
  return lastMenu_->actions();
}

}  // namespace tessel

// The factory is named after the class, so the macro needs its unqualified name.
using tessel::TesselFileItemActionPlugin;
K_PLUGIN_CLASS_WITH_JSON(TesselFileItemActionPlugin, "tessel-dolphin.json")

#include "TesselFileItemActionPlugin.moc"
