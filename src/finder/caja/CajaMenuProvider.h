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
  // Caja 1.26 builds its context menu when the selection changes, not when it opens it: from
  // the key press to the menu mapped took 1-2 ms with or without the module, up to the full
  // snapshot's 1406 rows (bench/gtk-menu.sh caja). The budget is Thunar's, the one of the three
  // whose menu grows with its rows; a longer menu offers the host's chooser window.
  static constexpr MenuForm kMenuForm{2000, false};

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
