// tessel-dolphin.so loaded the way Dolphin loads it: KF5's KFileItemActions finds it through
// QT_PLUGIN_PATH by its metadata, makes the plugin with KPluginFactory and asks it for actions
// for KFileItems of real files. What it offers and where, what choosing its items does, and
// how a plugin Dolphin keeps follows the host's settings-changed signal.
#include <gio/gio.h>
#include <KFileItem>
#include <KFileItemActions>
#include <KFileItemListProperties>
#include <KPluginMetaData>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <memory>

#include "ModuleJournal.h"
#include "ModuleMenuCases.h"
#include "ScopedLanguage.h"

// Qt 5's offscreen platform leaves its screen objects behind when the application ends, which
// LeakSanitizer, in the sanitized build, would report for every run.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libqoffscreen.so\nleak:QPlatformScreen::QPlatformScreen\n"
         "leak:QWindowSystemInterface::handleScreenAdded\nleak:QScreen::QScreen\n";
}

namespace tessel::testing {
namespace {

// One action of a menu as Dolphin shows it, and the titles leading to it.
struct MenuEntry {
  QAction* action;
  std::vector<std::string> path;
};

// The title as shown: Qt shows "&&" as "&" and takes a single "&" for an accelerator's mark.
std::string shownTitle(const QAction& action) {
  return action.text().replace(QLatin1String("&&"), QLatin1String("&")).toStdString();
}

// The actions of `menu` and, depth first, those of their submenus, each told first that it is
// about to open, as Qt tells a submenu the user opens.
std::vector<MenuEntry> entries(const QMenu& menu, std::vector<std::string> path = {}) {
  std::vector<MenuEntry> out;
  for (QAction* action : menu.actions()) {
    path.push_back(action->isSeparator() ? "—" : shownTitle(*action));
    out.push_back({action, path});
    if (QMenu* submenu = action->menu()) {
      Q_EMIT submenu->aboutToShow();
      std::ranges::move(entries(*submenu, path), std::back_inserter(out));
    }
    path.pop_back();
  }
  return out;
}

class DolphinPluginTest : public FinderSession {
 protected:
  DolphinPluginTest() {
    // KDE's configuration and caches stay in the test's folder.
    ::setenv("XDG_CONFIG_HOME", folder.folder("config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", folder.folder("cache").c_str(), 1);
    folder.file("home/a.txt", "a");
    folder.folder("home/b");
    clearLoggedLines();
  }
  ~DolphinPluginTest() override {
    window_.reset();
    // Lets Qt and GLib finish what the test started (host starts, deferred deletes).
    waitUntil([] { return false; }, std::chrono::milliseconds(50));
  }
  void pause() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    FinderSession::pause();
  }

  // The menu Dolphin's window builds for these items (the view's folder for its background),
  // with the plugin actions only. The window keeps its plugins from one menu to the next.
  std::unique_ptr<QMenu> menuFor(const std::vector<std::string>& paths) {
    if (!window_) window_ = std::make_unique<KFileItemActions>();
    KFileItemList items;
    for (const std::string& path : paths) {
      const QString location = QString::fromStdString(path);
      items.push_back(KFileItem(
          location.contains(QLatin1String(":/")) ? QUrl(location) : QUrl::fromLocalFile(location)));
    }
    window_->setItemListProperties(KFileItemListProperties(items));
    auto menu = std::make_unique<QMenu>();
    window_->addActionsTo(menu.get(), KFileItemActions::MenuActionSource::Plugins);
    return menu;
  }
  // The menu as an indented tree, one title per line; "›" after a submenu, "(off)" after a
  // disabled item, "—" for a separator.
  static std::string text(const QMenu& menu) {
    std::string out;
    for (const MenuEntry& e : entries(menu)) {
      out += std::string(2 * e.path.size() - 2, ' ') + e.path.back() +
             (e.action->menu() ? " ›" : "") + (e.action->isEnabled() ? "" : " (off)") + "\n";
    }
    return out;
  }
  // Chooses the item reached through `titles` ("Move To", "Inbox").
  static void choose(const QMenu& menu, const std::vector<std::string>& titles) {
    const std::vector<MenuEntry> all = entries(menu);
    const auto chosen = std::ranges::find(all, titles, &MenuEntry::path);
    ASSERT_NE(chosen, all.end()) << "no item " << titles.back();
    chosen->action->trigger();
  }

  std::unique_ptr<KFileItemActions> window_;
};

TEST_F(DolphinPluginTest, EveryModuleMenuCaseShowsInDolphinFromMetadataItFinds) {
  const QVector<KPluginMetaData> found = KPluginMetaData::findPlugins(
      QStringLiteral("kf5/kfileitemaction"), [](const KPluginMetaData& data) {
        return data.pluginId() == QLatin1String("tessel-dolphin");
      });
  ASSERT_EQ(found.size(), 1);
  // On for every file and folder from the first start, in Dolphin's own menu rather than its
  // "Actions" submenu.
  EXPECT_TRUE(found[0].isEnabledByDefault());
  EXPECT_TRUE(found[0].mimeTypes().contains(QStringLiteral("inode/directory")));
  EXPECT_FALSE(found[0].rawData().contains(QLatin1String("X-KDE-Show-In-Submenu")));

  // Qt shows separators and empty submenus, so Dolphin shows each menu as the core built it.
  for (const ModuleMenuCase& menuCase : moduleMenuCases(home, sample)) {
    publish(menuCase, folder);
    ScopedLanguage language(menuCase.language.c_str());
    const auto menu =
        menuCase.background ? menuFor({home}) : menuFor({home + "/a.txt", home + "/b"});
    EXPECT_EQ(text(*menu), menuCase.shown) << menuCase.name;
  }
}

TEST_F(DolphinPluginTest, MenuIsOfferedOnlyInsideWatchedFoldersWhichTheHostsSignalMoves) {
  EXPECT_FALSE(menuFor({home + "/b", home + "/a.txt", media + "/x"})->isEmpty());
  // A folder inside may be the background of its own view too; Dolphin tells the two apart
  // for no plugin, and a selected folder must be movable.
  EXPECT_EQ(text(*menuFor({home + "/b"})).find("(off)"), std::string::npos);
  // One item outside is enough to offer nothing: a sibling whose name merely begins like a
  // watched folder's, a location without a local path.
  for (const std::string& outside : {home + "2/x", std::string("trash:/x")})
    EXPECT_TRUE(menuFor({home + "/a.txt", outside})->isEmpty()) << outside;
  for (const std::string& outside : {home + "2", folder.path(), std::string("trash:/")})
    EXPECT_TRUE(menuFor({outside})->isEmpty()) << outside;

  // The host's settings signal, from any sender, moves them in the plugin Dolphin kept,
  // without a menu being opened. The window keeps the plugin, not the actions of its menus.
  QPointer<QAction> earlier = menuFor({home})->actions().value(0);
  ASSERT_FALSE(earlier.isNull());
  SharedContainer::publish(MenuSnapshot{{folder.path()}, {}, {}});
  EXPECT_TRUE(menuFor({folder.path()})->isEmpty());
  g_autoptr(GDBusConnection) host = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                "settings", nullptr, nullptr);
  EXPECT_TRUE(waitUntil([&] { return !menuFor({folder.path()})->isEmpty(); }));
  EXPECT_TRUE(earlier.isNull());
}

TEST_F(DolphinPluginTest, ItemsStoreTheirRequestThenWakeTheHostWithItsUrlOrLogWhyNot) {
  // A folder named with Qt's accelerator mark is shown and chosen by its own name.
  SharedContainer::publish(
      MenuSnapshot{{home}, {{"R&D", home + "/R&D", {}}, {"Inbox", home + "/Inbox", {}}}, {}});
  const std::vector<std::string> selection{home + "/b", home + "/a.txt"};
  choose(*menuFor(selection), {"Move To", "R&D"});
  std::vector<MoveRequest> requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  EXPECT_EQ(requests[0].sources, selection);
  EXPECT_EQ(requests[0].destination, home + "/R&D");
  // Open Folder and Undo store their requests alike; Settings opens the host as the user would.
  const auto background = menuFor({home});
  choose(*background, {"Move through Folders", "Inbox", "Open Folder"});
  choose(*background, {"Undo Last Move"});
  requests = takeRequests();
  EXPECT_EQ(requests.size(), 2u);
  EXPECT_EQ(nextHostStart().rfind("--background-command tessel://move/", 0), 0u);
  EXPECT_EQ(nextHostStart().rfind("--background-command tessel://move/", 0), 0u);
  choose(*background, {"Open Move Settings…"});
  EXPECT_EQ(nextHostStart(), "");

  // A menu Dolphin still shows when its plugin goes loses the plugin's actions instead of
  // keeping dangling ones; a host that cannot start is logged once, and the request stays.
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing-host").c_str(), 1);
  const auto kept = menuFor(selection);
  choose(*kept, {"Move To", "Inbox"});
  window_.reset();
  EXPECT_TRUE(kept->isEmpty());
  ASSERT_TRUE(waitUntil([] { return !loggedLines().empty(); }));
  waitUntil([] { return false; }, std::chrono::milliseconds(100));
  ASSERT_EQ(loggedLines().size(), 1u);
  EXPECT_EQ(loggedLines()[0].rfind("Tessel host launch failed: ", 0), 0u) << loggedLines()[0];
  EXPECT_EQ(takeRequests().size(), 1u);
}

}  // namespace
}  // namespace tessel::testing

// Dolphin's application object for the whole run, on Qt's offscreen platform: no display
// needed. It finds the build's plugin as Dolphin finds an installed one.
int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::setenv("QT_PLUGIN_PATH", TESSEL_DOLPHIN_PLUGIN_PATH, 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
