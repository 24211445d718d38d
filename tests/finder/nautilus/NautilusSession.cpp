#include "NautilusSession.h"

#include <nautilus-extension.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "HostRecords.h"
#include "LoadedModule.h"
#include "TestFileInfo.h"
#include "container/SharedContainer.h"

namespace {

std::mutex logMutex;
std::vector<std::string> logLines;

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

namespace tessel::testing {

std::vector<std::string> loggedLines() {
  std::lock_guard lock(logMutex);
  return logLines;
}

void freeItems(GList* items) {
  // Files' list freeing refuses an empty list.
  if (items) nautilus_menu_item_list_free(items);
}

NautilusSession::NautilusSession() {
  // GIO keeps to local files: a desktop's GVfs, where installed, is never started on the test's
  // bus. Read once, before the first file is made.
  ::setenv("GIO_USE_VFS", "local", 1);
  ::setenv("LANGUAGE", "en", 1);
  ::setenv("XDG_DATA_HOME", folder.at("data").c_str(), 1);
  ::setenv("TESSEL_INFO_FILE", folder.file("info.json", "{}").c_str(), 1);
  ::setenv("TESSEL_HOST_EXECUTABLE", TESSEL_RECORDING_HOST, 1);
  ::setenv("TESSEL_TEST_HOST_RECORD", folder.at("host-arguments").c_str(), 1);
  std::lock_guard lock(logMutex);
  logLines.clear();
}

NautilusSession::~NautilusSession() {
  // Lets GLib finish what the test started (host starts, released subscriptions).
  iterateUntil([] { return false; }, std::chrono::milliseconds(50));
}

MenuSnapshot NautilusSession::sampleSnapshot() const {
  const MenuDestination year{"2026", home + "/Archive/2026", {}};
  const MenuDestination inbox{"Inbox", home + "/Inbox", {}};
  return MenuSnapshot{
      {home, media}, {{"Archive", home + "/Archive", {year}}, inbox}, {inbox, year}};
}

void NautilusSession::publish(const MenuSnapshot& snapshot) const {
  SharedContainer::publish(snapshot);
}

std::vector<MoveRequest> NautilusSession::takeRequests() const {
  const std::string container = folder.at("data/group.com.quillmark.Tessel");
  std::vector<MoveRequest> requests = storedRequests(container, Platform::standard());
  for (const MoveRequest& request : requests)
    Platform::standard().removeItem(SharedContainer::requestPath(container, request.id));
  return requests;
}

GObject* NautilusSession::makeProvider() const {
  const std::vector<GType>& types = moduleTypes();
  EXPECT_EQ(types.size(), 1u);
  return types.empty() ? nullptr : G_OBJECT(g_object_new(types.front(), nullptr));
}

GList* NautilusSession::fileItems(GObject* provider, const std::vector<std::string>& paths) {
  GList* files = nullptr;
  for (const std::string& path : paths) {
    files = g_list_append(files, fileInfoFor(path));
  }
  GList* items = nautilus_menu_provider_get_file_items(NAUTILUS_MENU_PROVIDER(provider), files);
  nautilus_file_info_list_free(files);
  return items;
}

GList* NautilusSession::backgroundItems(GObject* provider, const std::string& folder) {
  GObject* current = fileInfoFor(folder);
  GList* items = nautilus_menu_provider_get_background_items(NAUTILUS_MENU_PROVIDER(provider),
                                                             NAUTILUS_FILE_INFO(current));
  g_object_unref(current);
  return items;
}

namespace {

// A label as Files shows it: submenu labels end in invisible characters that keep them apart.
std::string visible(const char* label) {
  std::string text = label ? label : "";
  for (std::string_view mark : {"\u200B", "\u2060"}) {
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, mark.size());
  }
  return text;
}

void appendText(GList* items, const std::string& indent, std::string& out) {
  for (GList* entry = items; entry; entry = entry->next) {
    char* label = nullptr;
    gboolean sensitive = FALSE;
    NautilusMenu* menu = nullptr;
    g_object_get(entry->data, "label", &label, "sensitive", &sensitive, "menu", &menu, nullptr);
    out += indent + visible(label) + (menu ? " ›" : "") + (sensitive ? "" : " (off)") + "\n";
    g_free(label);
    if (menu) {
      GList* children = nautilus_menu_get_items(menu);
      appendText(children, indent + "  ", out);
      freeItems(children);
      g_object_unref(menu);
    }
  }
}

// The item titled `title` among `items`, with a reference of its own; null when none is.
NautilusMenuItem* itemTitled(GList* items, const std::string& title) {
  for (GList* entry = items; entry; entry = entry->next) {
    char* label = nullptr;
    g_object_get(entry->data, "label", &label, nullptr);
    const bool found = label && title == visible(label);
    g_free(label);
    if (found) return NAUTILUS_MENU_ITEM(g_object_ref(entry->data));
  }
  return nullptr;
}

}  // namespace

std::string NautilusSession::text(GList* items) {
  std::string out;
  appendText(items, "", out);
  return out;
}

void NautilusSession::activate(GList* items, const std::vector<std::string>& titles) {
  NautilusMenuItem* item = nullptr;
  GList* level = g_list_copy_deep(
      items, [](gconstpointer data, gpointer) { return g_object_ref(const_cast<gpointer>(data)); },
      nullptr);
  for (const std::string& title : titles) {
    if (item) g_object_unref(item);
    item = itemTitled(level, title);
    freeItems(level);
    level = nullptr;
    ASSERT_NE(item, nullptr) << "no item " << title;
    NautilusMenu* menu = nullptr;
    g_object_get(item, "menu", &menu, nullptr);
    if (menu) {
      level = nautilus_menu_get_items(menu);
      g_object_unref(menu);
    }
  }
  freeItems(level);
  nautilus_menu_item_activate(item);
  g_object_unref(item);
}

bool NautilusSession::iterateUntil(const std::function<bool()>& condition,
                                   std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::vector<std::string> NautilusSession::hostStarts(std::size_t count) const {
  std::vector<std::string> starts;
  iterateUntil([&] {
    starts = recordedLines(folder.at("host-arguments"));
    return starts.size() >= count;
  });
  return starts;
}

}  // namespace tessel::testing
