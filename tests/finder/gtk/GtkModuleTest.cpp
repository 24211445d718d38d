// A GTK 3 file manager's module (Nemo, Caja or Thunar, chosen by the harness header the build
// names) loaded as that file manager loads it, against its real extension library: what it
// offers the file manager and where, what choosing its items does, and how it follows the
// host's publications.
#include <gio/gio.h>

#include <algorithm>
#include <memory>

#include "GLibModuleSession.h"
#include "ModuleMenuCases.h"
#include "ScopedLanguage.h"
#include "TestFileInfo.h"
#include TESSEL_TEST_HARNESS

namespace tessel::testing {
namespace {

using Items = std::shared_ptr<GList>;
Items own(GList* list) {
  return Items(list, [](GList* items) {
    if (items) Harness::freeItems(items);
  });
}

struct MenuEntry {
  GObject* item;  // held by the list it was read from
  std::vector<std::string> path;
  bool submenu, sensitive, separator;
};

// The items of `items` and, depth first, those of their submenus.
std::vector<MenuEntry> entries(GList* items, std::vector<std::string> path = {}) {
  std::vector<MenuEntry> out;
  for (GList* entry = items; entry; entry = entry->next) {
    g_autofree char* label = nullptr;
    gboolean sensitive = FALSE;
    GObject* menu = nullptr;
    g_object_get(entry->data, "label", &label, "sensitive", &sensitive, "menu", &menu, nullptr);
    path.push_back(label ? label : "");
    out.push_back({G_OBJECT(entry->data), path, menu != nullptr, sensitive == TRUE,
                   Harness::isSeparator(G_OBJECT(entry->data))});
    if (menu) {
      std::ranges::move(entries(own(Harness::menuItems(menu)).get(), path),
                        std::back_inserter(out));
      g_object_unref(menu);
    }
    path.pop_back();
  }
  return out;
}

class GtkModuleTest : public GLibModuleSession {
 protected:
  ~GtkModuleTest() override { g_clear_object(&provider_); }

  GObject* provider() {
    if (!provider_) provider_ = Harness::newProvider();
    return provider_;
  }
  Items fileItems(const std::vector<std::string>& paths) {
    GList* files = nullptr;
    for (const std::string& path : paths) files = g_list_append(files, fileInfoFor(path));
    Items items = own(Harness::fileItems(provider(), files));
    g_list_free_full(files, g_object_unref);
    return items;
  }
  Items backgroundItems(const std::string& folder) {
    GObject* current = fileInfoFor(folder);
    Items items = own(Harness::backgroundItems(provider(), current));
    g_object_unref(current);
    return items;
  }
  // The items drawn as in the table of menu cases.
  static std::string text(const Items& items) {
    std::string out;
    for (const MenuEntry& e : entries(items.get())) {
      out += std::string(2 * e.path.size() - 2, ' ') + (e.separator ? "—" : e.path.back()) +
             (e.submenu ? " ›" : "") + (e.sensitive || e.separator ? "" : " (off)") + "\n";
    }
    return out;
  }
  static void activate(const Items& items, const std::vector<std::string>& titles) {
    const std::vector<MenuEntry> all = entries(items.get());
    const auto chosen = std::ranges::find(all, titles, &MenuEntry::path);
    ASSERT_NE(chosen, all.end()) << "no item " << titles.back();
    Harness::activate(chosen->item);
  }

  GObject* provider_ = nullptr;
};

TEST_F(GtkModuleTest, EveryModuleMenuCaseShowsAsTheFileManagerDrawsIt) {
  for (const ModuleMenuCase& menuCase : moduleMenuCases(home, sample)) {
    publish(menuCase, folder);
    ScopedLanguage language(menuCase.language.c_str());
    const Items items =
        menuCase.background ? backgroundItems(home) : fileItems({home + "/a.txt", home + "/b"});
    EXPECT_EQ(text(items), withoutEmptySubmenus(menuCase.shown, Harness::kSeparators))
        << menuCase.name;
  }
}

TEST_F(GtkModuleTest, MenuIsOfferedOnlyInsideWatchedFoldersWhichAPublicationMoves) {
  EXPECT_NE(fileItems({home + "/deep/down/x.txt", media + "/x", home + "/y"}), nullptr);
  for (const std::string& outside : {home, home + "2/x", std::string("tessel-test:///x")})
    EXPECT_EQ(fileItems({home + "/y", outside}), nullptr) << outside;
  EXPECT_NE(backgroundItems(home + "/Archive"), nullptr);
  for (const std::string& outside : {home + "2", folder.path(), std::string("tessel-test:///")})
    EXPECT_EQ(backgroundItems(outside), nullptr) << outside;

  // After the host's settings signal the file manager is told to ask again where it can be;
  // either way the next menu follows the new publication.
  int updates = 0;
  if (Harness::kItemsUpdated)
    g_signal_connect_swapped(provider(), "items-updated", G_CALLBACK(+[](int* count) { ++*count; }),
                             &updates);
  SharedContainer::publish(MenuSnapshot{{folder.path()}, {}, {}});
  EXPECT_EQ(backgroundItems(folder.path()), nullptr);
  g_autoptr(GDBusConnection) host = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                "settings", nullptr, nullptr);
  EXPECT_TRUE(waitUntil([&] {
    return updates == (Harness::kItemsUpdated ? 1 : 0) && backgroundItems(folder.path()) != nullptr;
  }));
}

TEST_F(GtkModuleTest, ItemsStoreTheirRequestThenWakeTheHostOrOpenIt) {
  const std::vector<std::string> selection{home + "/b.txt", home + "/a.txt"};
  activate(fileItems(selection), {"Move To", "Inbox"});
  std::vector<MoveRequest> requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  EXPECT_EQ(requests[0].sources, selection);
  EXPECT_EQ(requests[0].destination, home + "/Inbox");
  activate(fileItems(selection), {"Undo Last Move"});
  requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, "undo");
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  activate(backgroundItems(home), {"Move through Folders", "Archive", "Open Folder"});
  requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, "openFolder");
  EXPECT_EQ(requests[0].destination, home + "/Archive");
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  // Settings opens the host as the user would, with no arguments.
  activate(backgroundItems(home), {"Open Move Settings…"});
  EXPECT_EQ(nextHostStart(), "");

  // A hierarchy far longer than any module's row budget is one item, which hands the selection
  // to the host's chooser.
  MenuSnapshot large{{home}, {MenuDestination{"Inbox", home + "/Inbox", {}}}, {}};
  for (int i = 0; i < 800; ++i)
    large.favorites[0].children.push_back({"f", home + "/Inbox/f" + std::to_string(i), {}});
  SharedContainer::publish(large);
  activate(fileItems(selection), {"Move through Folders…"});
  requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, "choose");
  EXPECT_EQ(requests[0].sources, selection);
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  EXPECT_EQ(loggedLines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tessel::testing
