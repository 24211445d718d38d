// Thunar as the shared module test sees it: the module loaded by libthunarx-3's own module
// type, as Thunar loads it.
#pragma once

extern "C" {
#include <thunarx/thunarx.h>
// Thunar's own module type, which the library exports without listing it in its main header.
#define THUNARX_INSIDE_THUNARX_H
#include <thunarx/thunarx-provider-module.h>
#undef THUNARX_INSIDE_THUNARX_H
}

#include <string>

namespace tessel::testing {

struct Harness {
  using FileInfoInterface = ThunarxFileInfoIface;
  static constexpr bool kSeparators = false;
  static constexpr bool kItemsUpdated = false;

  static GType fileInfoType() { return THUNARX_TYPE_FILE_INFO; }
  // Thunar's own module type opens a module by its name in Thunar's folder of modules, and reads
  // THUNARX_DIRS only for other users than root: the name climbs out of that folder.
  static GObject* newProvider() {
    static const GType type = [] {
      std::string name = "../../../..";
      name += TESSEL_TEST_MODULE;
      name.resize(name.size() - std::string_view(".so").size());
      ThunarxProviderModule* module = thunarx_provider_module_new(name.c_str());
      if (!g_type_module_use(G_TYPE_MODULE(module))) g_error("cannot load %s", name.c_str());
      const GType* types = nullptr;
      int count = 0;
      thunarx_provider_module_list_types(module, &types, &count);
      return count == 1 ? types[0] : G_TYPE_INVALID;
    }();
    return G_OBJECT(g_object_new(type, nullptr));
  }
  // Through the interface itself: the library's wrappers insist on a window, which needs a
  // display, and the module never looks at it.
  static GList* fileItems(GObject* provider, GList* files) {
    return THUNARX_MENU_PROVIDER_GET_IFACE(provider)->get_file_menu_items(
        THUNARX_MENU_PROVIDER(provider), nullptr, files);
  }
  static GList* backgroundItems(GObject* provider, GObject* folder) {
    return THUNARX_MENU_PROVIDER_GET_IFACE(provider)->get_folder_menu_items(
        THUNARX_MENU_PROVIDER(provider), nullptr, THUNARX_FILE_INFO(folder));
  }
  static GList* menuItems(GObject* menu) { return thunarx_menu_get_items(THUNARX_MENU(menu)); }
  static void freeItems(GList* items) { thunarx_menu_item_list_free(items); }
  static void activate(GObject* item) { thunarx_menu_item_activate(THUNARX_MENU_ITEM(item)); }
  static bool isSeparator(GObject*) { return false; }
};

}  // namespace tessel::testing
