// Nemo as the shared module test sees it: libnemo-extension's provider, items and file infos.
#pragma once

#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>

#include "TypeModuleLoader.h"

namespace tessel::testing {

struct Harness {
  using FileInfoInterface = NemoFileInfoInterface;
  static constexpr bool kSeparators = true;
  static constexpr bool kItemsUpdated = true;

  static GType fileInfoType() { return NEMO_TYPE_FILE_INFO; }
  static GObject* newProvider() {
    return G_OBJECT(g_object_new(moduleTypes(TESSEL_TEST_MODULE, "nemo").at(0), nullptr));
  }
  static GList* fileItems(GObject* provider, GList* files) {
    return nemo_menu_provider_get_file_items(NEMO_MENU_PROVIDER(provider), nullptr, files);
  }
  static GList* backgroundItems(GObject* provider, GObject* folder) {
    return nemo_menu_provider_get_background_items(NEMO_MENU_PROVIDER(provider), nullptr,
                                                   NEMO_FILE_INFO(folder));
  }
  static GList* menuItems(GObject* menu) { return nemo_menu_get_items(NEMO_MENU(menu)); }
  static void freeItems(GList* items) { nemo_menu_item_list_free(items); }
  static void activate(GObject* item) { nemo_menu_item_activate(NEMO_MENU_ITEM(item)); }
  static bool isSeparator(GObject* item) {
    gboolean separator = FALSE;
    g_object_get(item, "separator", &separator, nullptr);
    return separator;
  }
};

}  // namespace tessel::testing
