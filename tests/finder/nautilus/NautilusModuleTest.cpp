// tessel-nautilus.so loaded the way Files loads it, against the real libnautilus-extension-4:
// what it offers Files and where, what choosing its items does, and how it follows the host's
// settings-changed signal.
#include <dlfcn.h>
#include <gio/gio.h>
#include <nautilus-extension.h>

#include <algorithm>
#include <memory>
#include <set>

#include "GLibModuleSession.h"
#include "ModuleJournal.h"
#include "ModuleMenuCases.h"
#include "ScopedLanguage.h"

static std::vector<GType> moduleTypes;

// A type module whose first use opens the file and calls its nautilus_module_initialize, then
// nautilus_module_list_types, as Files does; it then stays loaded, as in Files.
G_DECLARE_FINAL_TYPE(TestModule, test_module, TEST, MODULE, GTypeModule)
struct _TestModule {
  GTypeModule parent_instance;
};
G_DEFINE_TYPE(TestModule, test_module, G_TYPE_TYPE_MODULE)

static gboolean test_module_load(GTypeModule* module) {
  void* handle = dlopen(TESSEL_NAUTILUS_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (!handle) g_error("%s", dlerror());
  reinterpret_cast<void (*)(GTypeModule*)>(dlsym(handle, "nautilus_module_initialize"))(module);
  const GType* types = nullptr;
  int count = 0;
  reinterpret_cast<void (*)(const GType**, int*)>(dlsym(handle, "nautilus_module_list_types"))(
      &types, &count);
  moduleTypes.assign(types, types + count);
  return TRUE;
}
static void test_module_init(TestModule*) {}
static void test_module_class_init(TestModuleClass* klass) {
  G_TYPE_MODULE_CLASS(klass)->load = test_module_load;
  G_TYPE_MODULE_CLASS(klass)->unload = [](GTypeModule*) {};
}

// A file as Files hands it to a provider: only a location, which is all the module asks of it.
G_DECLARE_FINAL_TYPE(TestFileInfo, test_file_info, TEST, FILE_INFO, GObject)
struct _TestFileInfo {
  GObject parent_instance;
};
static void test_file_info_file_info_init(NautilusFileInfoInterface* iface) {
  iface->get_location = [](NautilusFileInfo* info) {
    return G_FILE(g_object_ref(g_object_get_data(G_OBJECT(info), "location")));
  };
}
G_DEFINE_TYPE_WITH_CODE(TestFileInfo, test_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO,
                                              test_file_info_file_info_init))
static void test_file_info_init(TestFileInfo*) {}
static void test_file_info_class_init(TestFileInfoClass*) {}

namespace tessel::testing {
namespace {

// A new file info (a full reference) for a local path, or for a URI of a location without one.
NautilusFileInfo* fileInfoFor(const std::string& location) {
  GObject* info = G_OBJECT(g_object_new(test_file_info_get_type(), nullptr));
  g_object_set_data_full(info, "location", g_file_new_for_commandline_arg(location.c_str()),
                         g_object_unref);
  return NAUTILUS_FILE_INFO(info);
}

// A menu item list, freed the way Files does; Files' list freeing refuses an empty list.
using Items = std::shared_ptr<GList>;
Items own(GList* list) {
  return Items(list, [](GList* items) {
    if (items) nautilus_menu_item_list_free(items);
  });
}

// One item of a menu as Files reads it: the titles that reach it as Files shows them
// (submenu labels end in invisible characters that keep them apart) and its label as given.
struct MenuEntry {
  NautilusMenuItem* item;  // held by the list it was read from
  std::vector<std::string> path;
  std::string label;
  bool submenu, sensitive;
};

// The items of `items` and, depth first, those of their submenus.
std::vector<MenuEntry> entries(GList* items, std::vector<std::string> path = {}) {
  std::vector<MenuEntry> out;
  for (GList* entry = items; entry; entry = entry->next) {
    g_autofree char* label = nullptr;
    gboolean sensitive = FALSE;
    g_autoptr(NautilusMenu) menu = nullptr;
    g_object_get(entry->data, "label", &label, "sensitive", &sensitive, "menu", &menu, nullptr);
    // The title as shown: the label without the zero-width spaces and word joiners at its end
    // that keep GTK's page names apart (each three bytes long).
    std::string& title = path.emplace_back(label ? label : "");
    while (title.ends_with("\u200B") || title.ends_with("\u2060")) title.resize(title.size() - 3);
    out.push_back({NAUTILUS_MENU_ITEM(entry->data), path, label ? label : "", menu != nullptr,
                   sensitive == TRUE});
    if (menu)
      std::ranges::move(entries(own(nautilus_menu_get_items(menu)).get(), path),
                        std::back_inserter(out));
    path.pop_back();
  }
  return out;
}

// The module's own session: the log lines of this test only, a provider, and helpers that ask
// it for menus and choose items the way Files does.
class MenuProviderTest : public GLibModuleSession {
 protected:
  ~MenuProviderTest() override { g_clear_object(&provider_); }

  // The test's provider, made on first use from the module's one listed type.
  NautilusMenuProvider* provider() {
    [[maybe_unused]] static const gboolean loaded =
        g_type_module_use(G_TYPE_MODULE(g_object_new(test_module_get_type(), nullptr)));
    if (!provider_) provider_ = G_OBJECT(g_object_new(moduleTypes.at(0), nullptr));
    return NAUTILUS_MENU_PROVIDER(provider_);
  }
  // What the provider offers for these selected items, or for the background of `folder`.
  Items fileItems(const std::vector<std::string>& paths) {
    g_autolist(NautilusFileInfo) files = nullptr;
    for (const std::string& path : paths) files = g_list_append(files, fileInfoFor(path));
    return own(nautilus_menu_provider_get_file_items(provider(), files));
  }
  Items backgroundItems(const std::string& folder) {
    g_autoptr(NautilusFileInfo) current = fileInfoFor(folder);
    return own(nautilus_menu_provider_get_background_items(provider(), current));
  }
  // The items as an indented tree, one label as shown per line; an item holding a submenu is
  // marked "›", an insensitive one "(off)".
  static std::string text(const Items& items) {
    std::string out;
    for (const MenuEntry& e : entries(items.get())) {
      out += std::string(2 * e.path.size() - 2, ' ') + e.path.back() + (e.submenu ? " ›" : "") +
             (e.sensitive ? "" : " (off)") + "\n";
    }
    return out;
  }
  // Activates the item reached through `titles` ("Move To", "Inbox").
  static void activate(const Items& items, const std::vector<std::string>& titles) {
    const std::vector<MenuEntry> all = entries(items.get());
    const auto chosen = std::ranges::find(all, titles, &MenuEntry::path);
    ASSERT_NE(chosen, all.end()) << "no item " << titles.back();
    nautilus_menu_item_activate(chosen->item);
  }

  GObject* provider_ = nullptr;
};

TEST_F(MenuProviderTest, EveryModuleMenuCaseShowsInFilesWithPagesApart) {
  // Files has no separator item; the core's separators stand between a run of submenus and a
  // run of commands, which Files sets apart by the submenu arrows. Files cannot show a submenu
  // without items, so an empty one is a disabled item of its own.
  std::set<std::string> labels;
  std::size_t submenus = 0;
  for (const ModuleMenuCase& menuCase : moduleMenuCases(home, sample)) {
    publish(menuCase, folder);
    ScopedLanguage language(menuCase.language.c_str());
    const Items items =
        menuCase.background ? backgroundItems(home) : fileItems({home + "/a.txt", home + "/b"});
    EXPECT_EQ(text(items), withoutSeparatorsOrEmptySubmenus(menuCase.shown)) << menuCase.name;
    for (const MenuEntry& e : entries(items.get())) {
      if (!e.submenu) continue;
      labels.insert(e.label);
      ++submenus;
    }
  }
  // Files' popover names a page after each submenu's label and keeps pages across menus: no two
  // submenus share a label, not even those of menus with the same titles.
  EXPECT_EQ(labels.size(), submenus);
}

TEST_F(MenuProviderTest, MenuIsOfferedOnlyInsideWatchedFoldersWhichTheHostsSignalMoves) {
  EXPECT_NE(fileItems({home + "/deep/down/x.txt", media + "/x", home + "/y"}), nullptr);
  // One item outside is enough to offer nothing: a watched folder itself (shown by its parent,
  // which is not watched), a sibling whose name merely begins like a watched folder's, a
  // location without a local path.
  for (const std::string& outside : {home, home + "2/x", std::string("tessel-test:///x")})
    EXPECT_EQ(fileItems({home + "/y", outside}), nullptr) << outside;
  for (const std::string& inside : {home, home + "/Archive"})
    EXPECT_NE(backgroundItems(inside), nullptr) << inside;
  for (const std::string& outside : {home + "2", folder.path(), std::string("tessel-test:///")})
    EXPECT_EQ(backgroundItems(outside), nullptr) << outside;

  // The host's settings signal, from any sender, moves them without a menu being opened and has
  // Files ask again for its menu. A provider that ended hears nothing more: its handler would
  // touch freed memory (caught by the sanitizer and valgrind runs).
  g_clear_object(&provider_);
  int updates = 0;
  g_signal_connect_swapped(provider(), "items-updated", G_CALLBACK(+[](int* count) { ++*count; }),
                           &updates);
  SharedContainer::publish(MenuSnapshot{{folder.path()}, {}, {}});
  EXPECT_EQ(backgroundItems(folder.path()), nullptr);
  g_autoptr(GDBusConnection) host = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                "settings", nullptr, nullptr);
  EXPECT_TRUE(waitUntil([&] { return updates == 1 && backgroundItems(folder.path()) != nullptr; }));
}

TEST_F(MenuProviderTest, ItemsStoreTheirRequestThenWakeTheHostWithItsUrlOrLogWhyNot) {
  const std::vector<std::string> selection{home + "/b.txt", home + "/a.txt"};
  activate(fileItems(selection), {"Move To", "Inbox"});
  const std::vector<MoveRequest> requests = takeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + requests[0].id.string());
  EXPECT_EQ(requests[0].sources, selection);
  EXPECT_EQ(requests[0].destination, home + "/Inbox");
  // Settings opens the host as the user would, with no arguments.
  activate(backgroundItems(home), {"Open Move Settings…"});
  EXPECT_EQ(nextHostStart(), "");

  // Items outlive their provider; a host that cannot start is logged once, and the request
  // stays for a host started later.
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing-host").c_str(), 1);
  Items items = fileItems({home + "/a.txt"});
  GObject* ended = provider_;
  g_object_add_weak_pointer(ended, reinterpret_cast<gpointer*>(&ended));
  g_clear_object(&provider_);
  activate(items, {"Move To", "Archive"});
  items.reset();
  EXPECT_EQ(ended, nullptr);
  ASSERT_TRUE(waitUntil([] { return !loggedLines().empty(); }));
  waitUntil([] { return false; }, std::chrono::milliseconds(100));
  ASSERT_EQ(loggedLines().size(), 1u);
  EXPECT_EQ(loggedLines()[0].rfind("Tessel host launch failed: ", 0), 0u) << loggedLines()[0];
  EXPECT_EQ(takeRequests().size(), 1u);

  // A hierarchy of more rows than Files shows quickly (here 160) is one item, which hands the
  // selection to the host's chooser.
  MenuSnapshot large{{home}, {MenuDestination{"Inbox", home + "/Inbox", {}}}, {}};
  for (int i = 0; i < 50; ++i)
    large.favorites[0].children.push_back({"f", home + "/Inbox/f" + std::to_string(i), {}});
  SharedContainer::publish(large);
  ::setenv("TESSEL_HOST_EXECUTABLE", TESSEL_RECORDING_HOST, 1);
  activate(fileItems(selection), {"Move through Folders…"});
  const std::vector<MoveRequest> chosen = takeRequests();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0].operation, "choose");
  EXPECT_EQ(chosen[0].sources, selection);
  EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + chosen[0].id.string());
}

}  // namespace
}  // namespace tessel::testing
