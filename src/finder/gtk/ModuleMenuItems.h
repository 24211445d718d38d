// The core's menu as the menu items of a file manager's extension library. The libraries of
// GNOME Files, Nemo, Caja and Thunar share one model (an item with a name, a label, a
// "sensitive" property and an "activate" signal, holding a menu of further items), so one
// builder serves them all through `Api`, a small traits struct:
//
//   Item, Submenu                      the library's item and menu types
//   newItem(name, label)               a new item (a full reference)
//   newMenu(), append(menu, item), setSubmenu(item, menu)
//   newSeparator(name)                 where the library has separator items; without it the
//                                      core's separators are left out: they only ever stand
//                                      between a run of submenus and a run of commands, which
//                                      the submenu rows' arrows already set apart
//   submenuLabel(title)                optional: the label a submenu's row is given
//
// Titles, order and enabled states are kept as the core built them. A submenu without items is
// a disabled item: none of these file managers shows an empty submenu well (GNOME Files trips
// over one), and there is nothing to choose in it.
#pragma once

#include <glib-object.h>

#include <string>
#include <vector>

#include "CommandActivation.h"
#include "Menu.h"
#include "ModuleSession.h"

namespace tessel {

// How a library's menus hold the items appended to them, found out once with a probe: some
// take a reference of their own, others the caller's; and some (libnautilus-extension 43) take
// one and never release it, so every submenu would leak its items, their activation data and
// the references they hold, on every right-click.
struct MenuOwnership {
  bool takesReference;  // the menu takes a reference of its own on each item appended
  bool releases;        // the menu releases one reference on each of its items as it goes
};

template <class Api>
const MenuOwnership& menuOwnership() {
  static const MenuOwnership ownership = [] {
    typename Api::Submenu* menu = Api::newMenu();
    // A second reference of the probe's own keeps it alive whatever the menu does with it.
    GObject* probe = G_OBJECT(g_object_ref(Api::newItem("TesselMenuProvider::probe", "")));
    Api::append(menu, reinterpret_cast<typename Api::Item*>(probe));
    const unsigned appended = probe->ref_count;
    g_object_unref(menu);
    const unsigned left = probe->ref_count;
    for (unsigned reference = 0; reference < left; ++reference) g_object_unref(probe);
    return MenuOwnership{appended > 2, left < appended};
  }();
  return ownership;
}

template <class Api>
class ModuleMenuItems {
 public:
  using Item = typename Api::Item;

  // Items whose commands `session`, owned by the provider `owner`, carries out for `selection`,
  // named after `kind`, the kind of menu.
  ModuleMenuItems(GObject* owner, ModuleSession& session, ModuleSession::Selection selection,
                  std::string kind)
      : owner_(owner),
        session_(session),
        selection_(std::move(selection)),
        kind_(std::move(kind)) {}

  // The items for the entries of `menu`, as a list of full references for the file manager to
  // own.
  GList* list(const Menu& menu) const {
    GList* result = nullptr;
    for (Item* item : items(menu, "")) result = g_list_prepend(result, item);
    return g_list_reverse(result);
  }

 private:
  // An item is named after the kind of menu and its place in the tree, the same in every menu
  // of that kind: Nemo and Caja, when an item is chosen, ask for the menu again and carry the
  // choice out only if an item of that name is still in it. Files gives the items of its
  // selection's and its background's menus actions of one group, named after the items, so the
  // two kinds are named apart. Nemo and Caja place each item by a path of the names of the
  // submenus above it, and Caja drops a submenu whose name holds more than letters, digits
  // and "_".
  std::string itemName(const std::string& place) const {
    return "TesselMenuProvider_" + kind_ + place;
  }

  // The items for the entries of `menu` in order, each a full reference.
  std::vector<Item*> items(const Menu& menu, const std::string& place) const {
    std::vector<Item*> result;
    for (std::size_t index = 0; index < menu.items.size(); ++index) {
      const MenuItem& item = menu.items[index];
      const std::string here = place + "_" + std::to_string(index);
      if (item.separator) {
        if constexpr (requires { Api::newSeparator(""); }) {
          result.push_back(Api::newSeparator(itemName(here).c_str()));
        }
        continue;
      }
      result.push_back(item.submenu ? submenuItem(item, here) : commandItem(item, here));
    }
    return result;
  }

  Item* commandItem(const MenuItem& item, const std::string& place) const {
    Item* result = Api::newItem(itemName(place).c_str(), item.title.c_str());
    // Items are made sensitive; setting a property costs as much as a row's lookup of it.
    if (!item.enabled) g_object_set(result, "sensitive", FALSE, nullptr);
    connectCommand(G_OBJECT(result), owner_, session_, *item.tag, selection_);
    return result;
  }

  Item* submenuItem(const MenuItem& item, const std::string& place) const {
    const std::vector<Item*> children = items(*item.submenu, place);
    const std::string name = itemName(place);
    if (children.empty()) {
      Item* result = Api::newItem(name.c_str(), item.title.c_str());
      g_object_set(result, "sensitive", FALSE, nullptr);
      return result;
    }
    Item* result = Api::newItem(name.c_str(), label(item.title).c_str());
    if (!item.enabled) g_object_set(result, "sensitive", FALSE, nullptr);
    typename Api::Submenu* submenu = Api::newMenu();
    const MenuOwnership& ownership = menuOwnership<Api>();
    GList* held = nullptr;
    for (Item* child : children) {
      Api::append(submenu, child);
      // The menu ends up with one reference on each child, released as it goes: its own, or
      // the builder's, which it releases itself or has released for it.
      if (ownership.takesReference) g_object_unref(child);
      if (!ownership.releases) held = g_list_prepend(held, child);
    }
    if (held) releaseItemsWithMenu(G_OBJECT(submenu), held);
    Api::setSubmenu(result, submenu);
    g_object_unref(submenu);
    return result;
  }

  static std::string label(const std::string& title) {
    if constexpr (requires { Api::submenuLabel(title); }) {
      return Api::submenuLabel(title);
    } else {
      return title;
    }
  }

  GObject* owner_;
  ModuleSession& session_;
  ModuleSession::Selection selection_;
  std::string kind_;
};

}  // namespace tessel
