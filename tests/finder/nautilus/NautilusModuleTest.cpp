// tessel-nautilus.so loaded the way Files loads it, against the real libnautilus-extension-4:
// what it offers Files and where, what choosing its items does, and how it follows the host's
// settings-changed signal.
#include <dlfcn.h>
#include <gio/gio.h>
#include <nautilus-extension.h>
#include <stdarg.h>
#include <stdio.h>

#include <mutex>
#include <set>

#include "FinderSession.h"

namespace {

std::mutex logMutex;
std::vector<std::string> logLines;
std::vector<GType> moduleTypes;

}  // namespace

// The module's log lines land here instead of the journal: the executable's definitions come
// first when the dynamic linker binds the module's calls. The first field is the message.
extern "C" int sd_journal_send(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  char field[1024];
  vsnprintf(field, sizeof field, format, arguments);
  va_end(arguments);
  const std::string_view message = "MESSAGE=";
  std::lock_guard lock(logMutex);
  logLines.emplace_back(std::string_view(field).substr(message.size()));
  return 0;
}

// A type module whose first use opens the file and calls its nautilus_module_initialize, then
// nautilus_module_list_types, as Files does; it then stays loaded, as in Files.
G_DECLARE_FINAL_TYPE(TestModule, test_module, TEST, MODULE, GTypeModule)
struct _TestModule {
  GTypeModule parent_instance;
};
G_DEFINE_TYPE(TestModule, test_module, G_TYPE_TYPE_MODULE)

static gboolean test_module_load(GTypeModule* module) {
  void* handle = dlopen(TESSEL_NAUTILUS_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    ADD_FAILURE() << dlerror();
    return FALSE;
  }
  reinterpret_cast<void (*)(GTypeModule*)>(dlsym(handle, "nautilus_module_initialize"))(module);
  const GType* types = nullptr;
  int count = 0;
  reinterpret_cast<void (*)(const GType**, int*)>(dlsym(handle, "nautilus_module_list_types"))(
      &types, &count);
  moduleTypes.assign(types, types + count);
  return TRUE;
}
static void test_module_unload(GTypeModule*) {}
static void test_module_init(TestModule*) {}
static void test_module_class_init(TestModuleClass* klass) {
  G_TYPE_MODULE_CLASS(klass)->load = test_module_load;
  G_TYPE_MODULE_CLASS(klass)->unload = test_module_unload;
}

// A file as Files hands it to a provider: only a location, which is all the module asks of it.
G_DECLARE_FINAL_TYPE(TestFileInfo, test_file_info, TEST, FILE_INFO, GObject)
struct _TestFileInfo {
  GObject parent_instance;
  GFile* location;
};
static void test_file_info_file_info_init(NautilusFileInfoInterface* iface) {
  iface->get_location = [](NautilusFileInfo* info) {
    return G_FILE(g_object_ref(TEST_FILE_INFO(info)->location));
  };
}
G_DEFINE_TYPE_WITH_CODE(TestFileInfo, test_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO,
                                              test_file_info_file_info_init))
static void test_file_info_init(TestFileInfo*) {}
static void test_file_info_class_init(TestFileInfoClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = [](GObject* object) {
    g_clear_object(&TEST_FILE_INFO(object)->location);
    G_OBJECT_CLASS(test_file_info_parent_class)->finalize(object);
  };
}

namespace tessel::testing {
namespace {

// Log lines the module sent to the system log, in order.
std::vector<std::string> loggedLines() {
  std::lock_guard lock(logMutex);
  return logLines;
}

// Frees a menu item list the way Files does.
void freeItems(GList* items) {
  // Files' list freeing refuses an empty list.
  if (items) nautilus_menu_item_list_free(items);
}

// A new file info (a full reference) for a local path, or for a URI ("scheme://...") of a
// location without one.
GObject* fileInfoFor(const std::string& location) {
  TestFileInfo* info = TEST_FILE_INFO(g_object_new(test_file_info_get_type(), nullptr));
  info->location = location.find("://") == std::string::npos ? g_file_new_for_path(location.c_str())
                                                             : g_file_new_for_uri(location.c_str());
  return G_OBJECT(info);
}

// A label as Files shows it: submenu labels end in invisible characters that keep them apart.
std::string visible(std::string label) {
  for (std::string_view mark : {"\u200B", "\u2060"}) {
    for (std::size_t at; (at = label.find(mark)) != std::string::npos;)
      label.erase(at, mark.size());
  }
  return label;
}

// Whether Files was offered items; frees them.
bool offered(GList* items) {
  freeItems(items);
  return items != nullptr;
}

// One item of a menu as Files reads it, with the label the module gave it.
struct MenuEntry {
  NautilusMenuItem* item;
  std::string label;
  bool submenu, sensitive;
  int depth;
};

// Calls `visit` for each of `items` and, depth first, for the items of their submenus.
void forEachItem(GList* items, const std::function<void(const MenuEntry&)>& visit, int depth = 0) {
  for (GList* entry = items; entry; entry = entry->next) {
    char* label = nullptr;
    gboolean sensitive = FALSE;
    NautilusMenu* menu = nullptr;
    g_object_get(entry->data, "label", &label, "sensitive", &sensitive, "menu", &menu, nullptr);
    visit({NAUTILUS_MENU_ITEM(entry->data), label ? label : "", menu != nullptr, sensitive == TRUE,
           depth});
    g_free(label);
    if (menu) {
      GList* children = nautilus_menu_get_items(menu);
      forEachItem(children, visit, depth + 1);
      freeItems(children);
      g_object_unref(menu);
    }
  }
}

// The module's own session: the log lines of this test only, and helpers that ask a provider
// for menus and choose items the way Files does.
class NautilusSession : public FinderSession {
 protected:
  NautilusSession() {
    // GIO keeps to local files: a desktop's GVfs, where installed, is never started on the test's
    // bus. Read once, before the first file is made.
    ::setenv("GIO_USE_VFS", "local", 1);
    std::lock_guard lock(logMutex);
    logLines.clear();
  }
  ~NautilusSession() override {
    // Lets GLib finish what the test started (host starts, released subscriptions).
    waitUntil([] { return false; }, std::chrono::milliseconds(50));
  }
  // Runs Files' main context meanwhile.
  void pause() override {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    FinderSession::pause();
  }

  // A new provider from the module's one listed type (a full reference).
  static GObject* makeProvider() {
    [[maybe_unused]] static const gboolean loaded =
        g_type_module_use(G_TYPE_MODULE(g_object_new(test_module_get_type(), nullptr)));
    EXPECT_EQ(moduleTypes.size(), 1u);
    return moduleTypes.empty() ? nullptr : G_OBJECT(g_object_new(moduleTypes.front(), nullptr));
  }
  // What the provider offers for these selected items, or for the background of `folder`;
  // the caller owns the list.
  static GList* fileItems(GObject* provider, const std::vector<std::string>& paths) {
    GList* files = nullptr;
    for (const std::string& path : paths) files = g_list_append(files, fileInfoFor(path));
    GList* items = nautilus_menu_provider_get_file_items(NAUTILUS_MENU_PROVIDER(provider), files);
    nautilus_file_info_list_free(files);
    return items;
  }
  static GList* backgroundItems(GObject* provider, const std::string& folder) {
    GObject* current = fileInfoFor(folder);
    GList* items = nautilus_menu_provider_get_background_items(NAUTILUS_MENU_PROVIDER(provider),
                                                               NAUTILUS_FILE_INFO(current));
    g_object_unref(current);
    return items;
  }
  // The items as an indented tree, one label as shown per line; an item holding a submenu is
  // marked "›", an insensitive one "(off)".
  static std::string text(GList* items) {
    std::string out;
    forEachItem(items, [&out](const MenuEntry& entry) {
      out += std::string(2 * entry.depth, ' ') + visible(entry.label) +
             (entry.submenu ? " ›" : "") + (entry.sensitive ? "" : " (off)") + "\n";
    });
    return out;
  }
  // Activates the item reached through `titles` ("Move To", "Inbox").
  static void activate(GList* items, const std::vector<std::string>& titles) {
    std::vector<std::string> path;
    NautilusMenuItem* chosen = nullptr;
    forEachItem(items, [&](const MenuEntry& entry) {
      path.resize(entry.depth);
      path.push_back(visible(entry.label));
      if (path == titles && !chosen) chosen = NAUTILUS_MENU_ITEM(g_object_ref(entry.item));
    });
    ASSERT_NE(chosen, nullptr) << "no item " << titles.back();
    nautilus_menu_item_activate(chosen);
    g_object_unref(chosen);
  }
};

using MenuProviderTest = NautilusSession;

TEST_F(MenuProviderTest, ItemsGetTheWholeTreeWithPagesApartAndABackgroundGetsItWithMovesOff) {
  MenuSnapshot oneFavorite = sampleSnapshot();
  oneFavorite.favorites = {MenuDestination{"Inbox", home + "/Inbox", {}}};
  oneFavorite.recent.clear();
  // The core's separators are left out: each stands between a run of submenus and a run of
  // commands, which Files sets apart by the submenu arrows. Files cannot show a submenu
  // without items, so an empty one is a disabled item of its own.
  const struct {
    MenuSnapshot snapshot;
    bool background;
    const char* text;
  } cases[] = {
      {sampleSnapshot(), false,
       "Move To ›\n  Archive\n  Inbox\n"
       "Move through Folders ›\n"
       "  Archive ›\n    Move Here\n    Open Folder\n"
       "    2026 ›\n      Move Here\n      Open Folder\n"
       "  Inbox ›\n    Move Here\n    Open Folder\n"
       "Recent Destinations ›\n  Inbox\n  2026\n"
       "Undo Last Move\nOpen Move Settings…\n"},
      {oneFavorite, true,
       "Move To ›\n  Inbox (off)\n"
       "Move through Folders ›\n  Inbox ›\n    Move Here (off)\n    Open Folder\n"
       "Undo Last Move\nOpen Move Settings…\n"},
      {MenuSnapshot{{home}, {}, {}}, false,
       "Move To (off)\nMove through Folders (off)\nUndo Last Move\nOpen Move Settings…\n"},
  };
  std::vector<std::string> labels;
  for (const auto& c : cases) {
    publish(c.snapshot);
    GObject* provider = makeProvider();
    GList* items = c.background ? backgroundItems(provider, home)
                                : fileItems(provider, {home + "/a.txt", home + "/b"});
    EXPECT_EQ(text(items), c.text);
    forEachItem(items, [&labels](const MenuEntry& entry) {
      if (entry.submenu) labels.push_back(entry.label);
    });
    freeItems(items);
    g_object_unref(provider);
  }
  // Files' popover names a page after each submenu's label and keeps pages across menus: no two
  // submenus share a label, not even those of menus with the same titles.
  EXPECT_EQ(labels.size(), 9u);
  EXPECT_EQ(std::set<std::string>(labels.begin(), labels.end()).size(), labels.size());
}

TEST_F(MenuProviderTest, MenuIsOfferedOnlyInsideWatchedFolders) {
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  EXPECT_TRUE(offered(fileItems(provider, {home + "/deep/down/x.txt"})));
  EXPECT_TRUE(offered(fileItems(provider, {media + "/x", home + "/y"})));
  EXPECT_TRUE(offered(backgroundItems(provider, home)));
  EXPECT_TRUE(offered(backgroundItems(provider, home + "/Archive")));

  EXPECT_FALSE(offered(fileItems(provider, {folder.at("elsewhere/x.txt")})));
  EXPECT_FALSE(offered(fileItems(provider, {home + "/y", folder.at("elsewhere/x")})));
  // A watched folder itself is shown by its parent, which is not watched.
  EXPECT_FALSE(offered(fileItems(provider, {home})));
  // A sibling whose name merely begins like a watched folder's.
  EXPECT_FALSE(offered(fileItems(provider, {home + "2/x"})));
  EXPECT_FALSE(offered(backgroundItems(provider, home + "2")));
  EXPECT_FALSE(offered(backgroundItems(provider, folder.path())));
  // Locations without a local path.
  EXPECT_FALSE(offered(fileItems(provider, {home + "/y", "tessel-test:///x"})));
  EXPECT_FALSE(offered(backgroundItems(provider, "tessel-test:///")));
  g_object_unref(provider);
}

using CommandActivationTest = NautilusSession;

TEST_F(CommandActivationTest, EachItemStoresItsRequestThenWakesTheHostWithItsUrl) {
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  // Activates the item at `titles` of the menu for `selection`, or of home's background when
  // nothing is selected.
  const auto choose = [&](const std::vector<std::string>& selection,
                          const std::vector<std::string>& titles) {
    GList* items =
        selection.empty() ? backgroundItems(provider, home) : fileItems(provider, selection);
    activate(items, titles);
    freeItems(items);
  };
  const struct {
    std::vector<std::string> selection, titles;
    std::string destination;  // none when nothing is stored
  } cases[] = {
      {{home + "/b.txt", home + "/a.txt"}, {"Move To", "Inbox"}, home + "/Inbox"},
      {{}, {"Move through Folders", "Inbox", "Open Folder"}, home + "/Inbox"},
      // Settings opens the host as the user would, with no arguments.
      {{}, {"Open Move Settings…"}, ""},
  };
  for (const auto& c : cases) {
    choose(c.selection, c.titles);
    const std::vector<MoveRequest> requests = takeRequests();
    ASSERT_EQ(requests.size(), c.destination.empty() ? 0u : 1u) << c.titles.back();
    EXPECT_EQ(
        nextHostStart(),
        requests.empty() ? "" : "--background-command tessel://move/" + requests[0].id.string());
    if (requests.empty()) continue;
    EXPECT_EQ(requests[0].sources, c.selection);
    EXPECT_EQ(requests[0].destination, c.destination);
  }
  EXPECT_TRUE(loggedLines().empty());

  // Files shows a move disabled in the background; activated anyway, it finds no selection.
  choose({}, {"Move To", "Archive"});
  EXPECT_EQ(loggedLines(), std::vector<std::string>{"Tessel selection unavailable"});
  EXPECT_TRUE(takeRequests().empty());
  g_object_unref(provider);
}

TEST_F(CommandActivationTest, ItemsOutliveTheirProviderAndAHostThatCannotStartIsLoggedOnce) {
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing-host").c_str(), 1);
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  g_object_add_weak_pointer(provider, reinterpret_cast<gpointer*>(&provider));
  GList* items = fileItems(provider, {home + "/a.txt"});
  g_object_unref(provider);
  ASSERT_NE(provider, nullptr);
  activate(items, {"Move To", "Archive"});
  freeItems(items);
  EXPECT_EQ(provider, nullptr);

  ASSERT_TRUE(waitUntil([] { return !loggedLines().empty(); }));
  waitUntil([] { return false; }, std::chrono::milliseconds(100));
  ASSERT_EQ(loggedLines().size(), 1u);
  EXPECT_EQ(loggedLines()[0].rfind("Tessel host launch failed: ", 0), 0u) << loggedLines()[0];
  // The request stays for a host started later.
  EXPECT_EQ(takeRequests().size(), 1u);
}

using SettingsSignalTest = NautilusSession;

// The signal moves the folders where Files gets the menu, without a menu being opened, and has
// Files ask for its menu again; a provider that ended hears nothing more.
TEST_F(SettingsSignalTest, NewRootsApplyOnceTheHostAnnouncesThemAndOnlyThen) {
  // The host is another process: the signal comes over a connection of its own.
  char* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  GDBusConnection* host = g_dbus_connection_new_for_address_sync(
      address,
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                           G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
  g_free(address);
  ASSERT_TRUE(host) << "no session bus";
  const auto emit = [host](const char* signal) {
    g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                  signal, nullptr, nullptr);
    g_dbus_connection_flush_sync(host, nullptr, nullptr);
  };

  publish(MenuSnapshot{{home}, {}, {}});
  // An ended provider's handler would run first and touch freed memory (caught by the
  // sanitizer and valgrind runs).
  g_object_unref(makeProvider());
  GObject* provider = makeProvider();
  int updates = 0;
  g_signal_connect_swapped(provider, "items-updated", G_CALLBACK(+[](int* count) { ++*count; }),
                           &updates);
  publish(MenuSnapshot{{media}, {}, {}});
  EXPECT_FALSE(offered(backgroundItems(provider, media)));
  emit("status");  // another signal of the same interface
  waitUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_TRUE(offered(backgroundItems(provider, home)));
  EXPECT_EQ(updates, 0);

  // Files is told to ask again for the menu of the selection it shows.
  emit("settings");
  EXPECT_TRUE(waitUntil([&] { return updates == 1 && offered(backgroundItems(provider, media)); }));
  EXPECT_FALSE(offered(backgroundItems(provider, home)));
  g_object_unref(provider);
  g_object_unref(host);
}

}  // namespace
}  // namespace tessel::testing
