// Caja's side of Tessel's menu provider: libcaja-extension's items, menus and file infos, and
// its menu provider interface. Caja has no separator items.
#pragma once

#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>

#include "ModuleProvider.h"

namespace tessel {

struct CajaMenuProvider : TypeModuleRegistration {
  using Item = CajaMenuItem;
  using Submenu = CajaMenu;
  using FileInfo = CajaFileInfo;

  static constexpr const char* kTypeName = "TesselCajaMenuProvider";
  // Caja 1.26 spends about 0.15 ms on each row of a context menu before it maps the menu
  // (bench/gtk-menu.sh caja); with its own 35 ms a menu of this many rows opens within 100 ms.
  // A longer one offers the hierarchy through the host's chooser window.
  static constexpr MenuForm kMenuForm{400, false};

  static Item* newItem(const char* name, const char* label) {
    return caja_menu_item_new(name, label, "", nullptr);
  }
  static Submenu* newMenu() { return caja_menu_new(); }
  static void append(Submenu* menu, Item* item) { caja_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { caja_menu_item_set_submenu(item, menu); }
  static GFile* location(FileInfo* file) { return caja_file_info_get_location(file); }

  static GType menuProviderType() { return CAJA_TYPE_MENU_PROVIDER; }
  static void initInterface(CajaMenuProviderIface* iface) {
    iface->get_file_items = [](::CajaMenuProvider* provider, GtkWidget*, GList* files) {
      return ModuleProvider<CajaMenuProvider>::itemsFor(provider, files);
    };
    iface->get_background_items = [](::CajaMenuProvider* provider, GtkWidget*,
                                     CajaFileInfo* folder) {
      return ModuleProvider<CajaMenuProvider>::backgroundItems(provider, folder);
    };
  }
  static void emitItemsUpdated(GObject* provider) {
    caja_menu_provider_emit_items_updated_signal(reinterpret_cast<::CajaMenuProvider*>(provider));
  }
};

}  // namespace tessel
