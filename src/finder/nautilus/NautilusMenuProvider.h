// GNOME Files' side of Tessel's menu provider: libnautilus-extension-4's items, menus and file
// infos, and its menu provider interface. Files has no separator items, and every submenu
// label is kept apart from all others (NautilusPageLabel.h).
#pragma once

// Files' header declares its functions without C linkage of their own.
extern "C" {
#include <nautilus-extension.h>
}

#include "ModuleProvider.h"
#include "NautilusPageLabel.h"

namespace tessel {

struct NautilusMenuProvider : TypeModuleRegistration {
  using Item = NautilusMenuItem;
  using Submenu = NautilusMenu;
  using FileInfo = NautilusFileInfo;

  static constexpr const char* kTypeName = "TesselMenuProvider";
  // Files 43 spends about 0.6 ms on each row of a context menu, submenus included, before it
  // shows the menu (bench/files-menu.sh); with its own 14 ms a menu of this many rows opens in
  // about 100 ms. A longer one offers the hierarchy through the host's chooser window.
  static constexpr MenuForm kMenuForm{140, false};

  static Item* newItem(const char* name, const char* label) {
    return nautilus_menu_item_new(name, label, nullptr, nullptr);
  }
  static Submenu* newMenu() { return nautilus_menu_new(); }
  static void append(Submenu* menu, Item* item) { nautilus_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { nautilus_menu_item_set_submenu(item, menu); }
  static std::string submenuLabel(const std::string& title) { return nautilusPageLabel(title); }
  static GFile* location(FileInfo* file) { return nautilus_file_info_get_location(file); }

  static GType menuProviderType() { return NAUTILUS_TYPE_MENU_PROVIDER; }
  static void initInterface(NautilusMenuProviderInterface* iface) {
    iface->get_file_items = [](::NautilusMenuProvider* provider, GList* files) {
      return ModuleProvider<NautilusMenuProvider>::itemsFor(provider, files);
    };
    iface->get_background_items = [](::NautilusMenuProvider* provider, NautilusFileInfo* folder) {
      return ModuleProvider<NautilusMenuProvider>::backgroundItems(provider, folder);
    };
  }
  // Files keeps the menu it built for a selection until the selection changes.
  static void emitItemsUpdated(GObject* provider) {
    nautilus_menu_provider_emit_items_updated_signal(
        reinterpret_cast<::NautilusMenuProvider*>(provider));
  }
};

}  // namespace tessel
