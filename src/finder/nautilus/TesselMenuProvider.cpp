#include "TesselMenuProvider.h"

#include <nautilus-extension.h>

#include "BusWorkspace.h"
#include "FinderSync.h"
#include "GDBusNotificationCenter.h"
#include "ModuleFinderController.h"
#include "NautilusMenuItems.h"
#include "SpawnWorkspace.h"
#include "request/HostAddress.h"

namespace {

// Files 43 spends about 0.6 ms on each row of a context menu, submenus included, before it
// shows the menu (bench/files-menu.sh); with its own 14 ms a menu of this many rows opens in
// about 100 ms. A longer one offers the hierarchy through the host's chooser window.
constexpr std::size_t kMenuRowBudget = 140;

// The extension core with Files' side of each interface. Made and destroyed on Files' main
// thread, where the settings-changed signal is then delivered.
struct ProviderSession {
  explicit ProviderSession(NautilusMenuProvider* provider)
      : itemsUpdated(notifications.addObserver(
            std::string(tessel::HostAddress::kSettingsNotification),
            [provider] { nautilus_menu_provider_emit_items_updated_signal(provider); })) {}
  ~ProviderSession() { notifications.removeObserver(itemsUpdated); }
  ProviderSession(const ProviderSession&) = delete;
  ProviderSession& operator=(const ProviderSession&) = delete;

  tessel::ModuleFinderController finder;
  tessel::GDBusNotificationCenter notifications;
  // The host on the session bus, started as a program when the bus cannot reach it.
  tessel::SpawnWorkspace programs;
  tessel::BusWorkspace workspace{programs};
  // After the centre, so it goes first and stops observing before the centre goes away.
  tessel::FinderSync sync{finder, notifications, workspace, {kMenuRowBudget, false}};
  // Files keeps the menu it built for a selection until the selection changes; after the host
  // published, this has it ask again (subscribed after the core, which reads the new snapshot).
  tessel::NotificationCenter::Token itemsUpdated;
};

}  // namespace

struct _TesselMenuProvider {
  GObject parent_instance;
  ProviderSession* session;
};

static void tessel_menu_provider_menu_provider_init(NautilusMenuProviderInterface* iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(
    TesselMenuProvider, tessel_menu_provider, G_TYPE_OBJECT, G_TYPE_FLAG_FINAL,
    G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                  tessel_menu_provider_menu_provider_init))

namespace {

// The local path of a file Files shows; none for locations without one (network shares seen
// through GVfs without a FUSE path, the trash, search results' virtual folders).
std::optional<std::string> localPath(NautilusFileInfo* file) {
  GFile* location = nautilus_file_info_get_location(file);
  char* path = location ? g_file_get_path(location) : nullptr;
  if (location) g_object_unref(location);
  if (!path) return std::nullopt;
  std::string result = path;
  g_free(path);
  return result;
}

void executeCommand(GObject* owner, std::int64_t tag,
                    const tessel::ModuleFinderController::Selection& selection) {
  ProviderSession& session = *TESSEL_MENU_PROVIDER(owner)->session;
  tessel::ModuleFinderController::SelectionScope scope(session.finder, selection);
  session.sync.execute(tag);
}

GList* menuFor(TesselMenuProvider* provider, tessel::ModuleFinderController::Selection selection) {
  ProviderSession& session = *provider->session;
  tessel::Menu menu;
  {
    tessel::ModuleFinderController::SelectionScope scope(session.finder, selection);
    menu = session.sync.buildMenu();
  }
  return tessel::nautilusMenuItems(menu, G_OBJECT(provider), std::move(selection), executeCommand);
}

GList* getFileItems(NautilusMenuProvider* provider, GList* files) {
  auto selection = std::make_shared<std::vector<std::string>>();
  for (GList* file = files; file; file = file->next) {
    std::optional<std::string> path = localPath(NAUTILUS_FILE_INFO(file->data));
    if (!path) return nullptr;
    selection->push_back(std::move(*path));
  }
  TesselMenuProvider* self = TESSEL_MENU_PROVIDER(provider);
  if (!self->session->finder.offersMenuForItems(*selection)) return nullptr;
  return menuFor(self, std::move(selection));
}

GList* getBackgroundItems(NautilusMenuProvider* provider, NautilusFileInfo* folder) {
  const std::optional<std::string> path = localPath(folder);
  TesselMenuProvider* self = TESSEL_MENU_PROVIDER(provider);
  if (!path || !self->session->finder.offersMenuInFolder(*path)) return nullptr;
  // A background has no selection: the menu shows its move items disabled.
  return menuFor(self, std::make_shared<std::vector<std::string>>());
}

}  // namespace

static void tessel_menu_provider_init(TesselMenuProvider* self) {
  self->session = new ProviderSession(NAUTILUS_MENU_PROVIDER(self));
}

static void tessel_menu_provider_finalize(GObject* object) {
  delete TESSEL_MENU_PROVIDER(object)->session;
  G_OBJECT_CLASS(tessel_menu_provider_parent_class)->finalize(object);
}

static void tessel_menu_provider_class_init(TesselMenuProviderClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = tessel_menu_provider_finalize;
}

static void tessel_menu_provider_class_finalize(TesselMenuProviderClass*) {}

static void tessel_menu_provider_menu_provider_init(NautilusMenuProviderInterface* iface) {
  iface->get_file_items = getFileItems;
  iface->get_background_items = getBackgroundItems;
}

void tessel_menu_provider_register(GTypeModule* module) {
  tessel_menu_provider_register_type(module);
}
