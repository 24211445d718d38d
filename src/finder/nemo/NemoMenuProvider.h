// Nemo's side of Tessel's menu provider: libnemo-extension's items, menus, separators and file
// infos, and its menu provider interface.
#pragma once

#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>

#include "ModuleProvider.h"

namespace tessel {

struct NemoMenuProvider : TypeModuleRegistration {
  using Item = NemoMenuItem;
  using Submenu = NemoMenu;
  using FileInfo = NemoFileInfo;

  static constexpr const char* kTypeName = "TesselNemoMenuProvider";
  // Nemo 5.6 builds its context menu when the selection changes, not when it opens it: from
  // the key press to the menu mapped took 1-2 ms with or without the module, up to the full
  // snapshot's 1406 rows (bench/gtk-menu.sh nemo). The budget is Thunar's, the one of the three
  // whose menu grows with its rows; a longer menu offers the host's chooser window.
  static constexpr MenuForm kMenuForm{2000, false};

  static Item* newItem(const char* name, const char* label) {
    return nemo_menu_item_new(name, label, "", nullptr);
  }
  static Item* newSeparator(const char* name) { return nemo_menu_item_new_separator(name); }
  static Submenu* newMenu() { return nemo_menu_new(); }
  static void append(Submenu* menu, Item* item) { nemo_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { nemo_menu_item_set_submenu(item, menu); }
  static GFile* location(FileInfo* file) { return nemo_file_info_get_location(file); }

  static GType menuProviderType() { return NEMO_TYPE_MENU_PROVIDER; }
  static void initInterface(NemoMenuProviderInterface* iface) {
    iface->get_file_items = [](::NemoMenuProvider* provider, GtkWidget*, GList* files) {
      return ModuleProvider<NemoMenuProvider>::itemsFor(provider, files);
    };
    iface->get_background_items = [](::NemoMenuProvider* provider, GtkWidget*,
                                     NemoFileInfo* folder) {
      return ModuleProvider<NemoMenuProvider>::backgroundItems(provider, folder);
    };
  }
  static void emitItemsUpdated(GObject* provider) {
    nemo_menu_provider_emit_items_updated_signal(reinterpret_cast<::NemoMenuProvider*>(provider));
  }
};

}  // namespace tessel
