// Thunar's side of Tessel's menu provider: libthunarx-3's items, menus and file infos, its menu
// provider interface and its provider plugin. Thunar has no separator items, and no signal for
// a provider's items changing: it asks its providers each time it opens a menu, and the core
// reads the snapshot again once the host has published a new one.
#pragma once

// Part of the library's header declares its functions without C linkage of their own.
extern "C" {
#include <thunarx/thunarx.h>
}

#include "ModuleProvider.h"

namespace tessel {

struct ThunarxMenuProvider {
  using Item = ThunarxMenuItem;
  using Submenu = ThunarxMenu;
  using FileInfo = ThunarxFileInfo;
  using Plugin = ThunarxProviderPlugin;

  static constexpr const char* kTypeName = "TesselThunarxMenuProvider";
  // Thunar 4.18 spends about 0.04 ms on each row of a context menu before it maps the menu
  // (bench/gtk-menu.sh thunar: 5.5 ms without the module, 16.5 ms with 364 rows, 63 ms with the
  // full snapshot's 1406); a menu of this many rows opens within about 90 ms. A longer one
  // offers the hierarchy through the host's chooser window.
  static constexpr MenuForm kMenuForm{2000, false};

  static Item* newItem(const char* name, const char* label) {
    return thunarx_menu_item_new(name, label, "", nullptr);
  }
  static Submenu* newMenu() { return thunarx_menu_new(); }
  static void append(Submenu* menu, Item* item) { thunarx_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { thunarx_menu_item_set_menu(item, menu); }
  static GFile* location(FileInfo* file) { return thunarx_file_info_get_location(file); }

  static GType registerType(Plugin* plugin, const char* name, const GTypeInfo* info) {
    return thunarx_provider_plugin_register_type(plugin, G_TYPE_OBJECT, name, info,
                                                 G_TYPE_FLAG_FINAL);
  }
  static void addInterface(Plugin* plugin, GType type, GType interface,
                           const GInterfaceInfo* info) {
    thunarx_provider_plugin_add_interface(plugin, type, interface, info);
  }
  static GType menuProviderType() { return THUNARX_TYPE_MENU_PROVIDER; }
  static void initInterface(ThunarxMenuProviderIface* iface) {
    iface->get_file_menu_items = [](::ThunarxMenuProvider* provider, GtkWidget*, GList* files) {
      return ModuleProvider<ThunarxMenuProvider>::itemsFor(provider, files);
    };
    iface->get_folder_menu_items = [](::ThunarxMenuProvider* provider, GtkWidget*,
                                      ThunarxFileInfo* folder) {
      return ModuleProvider<ThunarxMenuProvider>::backgroundItems(provider, folder);
    };
  }
};

}  // namespace tessel
