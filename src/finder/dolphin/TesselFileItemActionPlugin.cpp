#include "TesselFileItemActionPlugin.h"

#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <mutex>

#include "DolphinMenuActions.h"
#include "ModuleSession.h"
#include "core/Bundle.h"

namespace tessel {

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

}  // namespace

TesselFileItemActionPlugin::TesselFileItemActionPlugin(QObject* parent, const QVariantList&)
    : KAbstractFileItemActionPlugin(parent) {
  // Before the core first looks for the host, and once: Dolphin makes a plugin per window.
  static std::once_flag located;
  std::call_once(located, [] { Bundle::setModuleToPrograms(TESSEL_MODULE_TO_PROGRAMS); });
  // Qt builds a submenu's widgets only when it opens, so the whole hierarchy costs little.
  session_ = std::make_shared<ModuleSession>(MenuForm{SIZE_MAX, false});
}

TesselFileItemActionPlugin::~TesselFileItemActionPlugin() = default;

QList<QAction*> TesselFileItemActionPlugin::actions(const KFileItemListProperties& items,
                                                    QWidget*) {
  // Dolphin shows one context menu at a time and deletes it once closed: the last menu's
  // actions are no longer shown.
  if (lastMenu_) lastMenu_->deleteLater();

  std::optional<std::vector<std::string>> paths = localPaths(items);
  if (!paths) return {};
  const bool oneFolder = paths->size() == 1 && items.isDirectory();
  const std::string folder = oneFolder ? paths->front() : std::string();
  ModuleSession::Selection selection =
      std::make_shared<std::vector<std::string>>(std::move(*paths));
  std::optional<Menu> menu = session_->menuForItems(selection);
  // For a view's background Dolphin hands the view's folder as the one item. A watched folder
  // is shown by a folder that is not watched, so a folder without the items' menu is a
  // background; any other folder may be a selected item as well, and is taken as one.
  if (!menu && oneFolder) {
    selection = std::make_shared<std::vector<std::string>>();
    menu = session_->menuInFolder(folder);
  }
  if (!menu) return {};
  // Each menu holds the session: its actions never outlive what they call.
  lastMenu_ = new DolphinMenuActions(
      std::move(*menu),
      [session = session_, selection](std::int64_t tag) { session->execute(tag, selection); },
      this);
  return lastMenu_->actions();
}

}  // namespace tessel

// The factory is named after the class, so the macro needs its unqualified name.
using tessel::TesselFileItemActionPlugin;
K_PLUGIN_CLASS_WITH_JSON(TesselFileItemActionPlugin, "tessel-dolphin.json")

#include "TesselFileItemActionPlugin.moc"
