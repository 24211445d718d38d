// Caja as the shared module test sees it: libcaja-extension's provider, items and file infos.
#pragma once

#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>

#include "TypeModuleLoader.h"

namespace tessel::testing {

struct Harness {
  using FileInfoInterface = CajaFileInfoIface;
  static constexpr bool kSeparators = false;
  static constexpr bool kItemsUpdated = true;

  static GType fileInfoType() { return CAJA_TYPE_FILE_INFO; }
  static GObject* newProvider() {
    return G_OBJECT(g_object_new(moduleTypes(TESSEL_TEST_MODULE, "caja").at(0), nullptr));
  }
  static GList* fileItems(GObject* provider, GList* files) {
    return caja_menu_provider_get_file_items(CAJA_MENU_PROVIDER(provider), nullptr, files);
  }
  static GList* backgroundItems(GObject* provider, GObject* folder) {
    return caja_menu_provider_get_background_items(CAJA_MENU_PROVIDER(provider), nullptr,
                                                   CAJA_FILE_INFO(folder));
  }
  static GList* menuItems(GObject* menu) { return caja_menu_get_items(CAJA_MENU(menu)); }
  static void freeItems(GList* items) { caja_menu_item_list_free(items); }
  static void activate(GObject* item) { caja_menu_item_activate(CAJA_MENU_ITEM(item)); }
  static bool isSeparator(GObject*) { return false; }
};

}  // namespace tessel::testing
