#include "NautilusMenuItems.h"

#include <atomic>

namespace tessel {
namespace {

// Item names only need to be unique among the items Files holds at once; tags are unique for
// the life of the provider, and a submenu is named after its place in the tree.
std::string itemName(const std::string& unique) {
  return "TesselMenuProvider::" + unique;
}

// libnautilus-extension 43 frees a menu's list of items without releasing the items: every
// submenu would leak its items, their activation data and the references they hold, on every
// right-click. Whether the library at hand does so is found out once, with a probe.
bool menusLeakTheirItems() {
  static const bool leak = [] {
    NautilusMenu* menu = nautilus_menu_new();
    NautilusMenuItem* probe =
        nautilus_menu_item_new("TesselMenuProvider::probe", "", nullptr, nullptr);
    nautilus_menu_append_item(menu, probe);
    g_object_unref(menu);
    const bool kept = G_OBJECT(probe)->ref_count > 1;
    if (kept) g_object_unref(probe);
    g_object_unref(probe);
    return kept;
  }();
  return leak;
}

// Releases the menu's items when the menu goes, where the library does not.
void releaseItemsWithMenu(NautilusMenu* menu, GList* items) {
  if (!menusLeakTheirItems()) {
    g_list_free(items);
    return;
  }
  g_object_set_data_full(G_OBJECT(menu), "tessel-leaked-items", items, [](gpointer list) {
    g_list_free_full(static_cast<GList*>(list), g_object_unref);
  });
}

// Files' popover shows each submenu as a page of one stack for the whole context menu, named by
// the submenu's label, and keeps the pages of nested submenus when Files rebuilds the menu. Two
// pages of one name make GTK warn on every rebuild and open the first page of that name, which
// may be another folder's or an earlier menu's. So every submenu label ends in a number written
// in invisible characters (zero-width space for 0, word joiner for 1), another one for every
// submenu this process hands Files: the title the user sees is unchanged.
std::string pageLabel(const std::string& title) {
  static std::atomic<std::uint64_t> pages{0};
  std::string label = title;
  for (std::uint64_t number = ++pages; number; number >>= 1) {
    label += number & 1 ? "\u2060" : "\u200B";
  }
  return label;
}

struct Activation {
  GObject* owner;
  std::int64_t tag;
  ModuleFinderController::Selection selection;
  ActivateCommand activate;
};

void activateCommand(NautilusMenuItem*, gpointer data) {
  const Activation& activation = *static_cast<Activation*>(data);
  activation.activate(activation.owner, activation.tag, activation.selection);
}

void releaseActivation(gpointer data, GClosure*) {
  Activation* activation = static_cast<Activation*>(data);
  g_object_unref(activation->owner);
  delete activation;
}

struct Builder {
  GObject* owner;
  ModuleFinderController::Selection selection;
  ActivateCommand activate;

  NautilusMenuItem* commandItem(const MenuItem& item) const {
    const std::string name = itemName(std::to_string(*item.tag));
    NautilusMenuItem* result =
        nautilus_menu_item_new(name.c_str(), item.title.c_str(), nullptr, nullptr);
    g_object_set(result, "sensitive", item.enabled, nullptr);
    g_signal_connect_data(
        result, "activate", G_CALLBACK(activateCommand),
        new Activation{G_OBJECT(g_object_ref(owner)), *item.tag, selection, activate},
        releaseActivation, GConnectFlags{});
    return result;
  }

  // Files' items for the entries of `menu` in order, each a full reference.
  std::vector<NautilusMenuItem*> items(const Menu& menu, const std::string& place) const {
    std::vector<NautilusMenuItem*> result;
    for (std::size_t index = 0; index < menu.items.size(); ++index) {
      const MenuItem& item = menu.items[index];
      if (item.separator) continue;
      result.push_back(item.submenu ? submenuItem(item, place + "/" + std::to_string(index))
                                    : commandItem(item));
    }
    return result;
  }

  NautilusMenuItem* submenuItem(const MenuItem& item, const std::string& place) const {
    const std::string name = itemName("menu" + place);
    const std::vector<NautilusMenuItem*> children = items(*item.submenu, place);
    // Files trips over a submenu without items (it frees their empty list with a critical
    // warning), so an empty one is shown as a disabled item: there is nothing to choose in it.
    NautilusMenuItem* result = nautilus_menu_item_new(
        name.c_str(), (children.empty() ? item.title : pageLabel(item.title)).c_str(), nullptr,
        nullptr);
    g_object_set(result, "sensitive", item.enabled && !children.empty(), nullptr);
    if (children.empty()) return result;
    NautilusMenu* submenu = nautilus_menu_new();
    GList* held = nullptr;
    for (NautilusMenuItem* child : children) {
      nautilus_menu_append_item(submenu, child);
      held = g_list_prepend(held, child);
      g_object_unref(child);
    }
    releaseItemsWithMenu(submenu, held);
    nautilus_menu_item_set_submenu(result, submenu);
    g_object_unref(submenu);
    return result;
  }
};

}  // namespace

GList* nautilusMenuItems(const Menu& menu, GObject* owner,
                         ModuleFinderController::Selection selection, ActivateCommand activate) {
  GList* result = nullptr;
  for (NautilusMenuItem* item : Builder{owner, std::move(selection), activate}.items(menu, "")) {
    result = g_list_prepend(result, item);
  }
  return g_list_reverse(result);
}

}  // namespace tessel
