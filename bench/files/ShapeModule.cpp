// A Files module that offers, for every selection, a menu of the same shape as Tessel's menu on
// the full benchmark snapshot, built from a fixed table with no Tessel code: "Move To" with 20
// items, "Move through Folders" with 20 folders of 4 folders of 4 (each folder "Move Here",
// "Open Folder" and its sub-folders), "Recent Destinations" with 20 items, then two commands.
// Its items do nothing. The baseline for what Files itself spends on a menu of that size.
// With TESSEL_BENCH_DISTINCT_PAGES set (not empty), every submenu label gets an invisible serial
// number, so that no two of Files' submenu pages share a name, not even across menus.
// TESSEL_BENCH_SHAPE chooses another shape, to tell what Files' cost follows: "one-page" puts
// as many rows as the tree has into one submenu, "one-row-pages" makes as many submenus as the
// tree has, each with one row.
#include <glib-object.h>

extern "C" {
#include <nautilus-extension.h>
}

#include <string>

namespace {

int itemCount = 0;

NautilusMenuItem* item(const std::string& label) {
  const std::string name = "ShapeModule::" + std::to_string(++itemCount);
  return nautilus_menu_item_new(name.c_str(), label.c_str(), nullptr, nullptr);
}

int pages = 0;

std::string pageLabel(const std::string& label) {
  const char* distinct = g_getenv("TESSEL_BENCH_DISTINCT_PAGES");
  if (!distinct || !*distinct) return label;
  std::string result = label;
  for (int number = ++pages; number; number >>= 1) result += number & 1 ? "\u2060" : "\u200B";
  return result;
}

// `submenu` takes the items; the library keeps its own references.
NautilusMenuItem* opening(const std::string& label, GList* items) {
  NautilusMenuItem* result = item(pageLabel(label));
  NautilusMenu* submenu = nautilus_menu_new();
  for (GList* child = items; child; child = child->next) {
    nautilus_menu_append_item(submenu, NAUTILUS_MENU_ITEM(child->data));
  }
  g_list_free_full(items, g_object_unref);
  nautilus_menu_item_set_submenu(result, submenu);
  g_object_unref(submenu);
  return result;
}

GList* folder(const std::string& label, int depth) {
  GList* items = nullptr;
  items = g_list_append(items, item("Move Here"));
  items = g_list_append(items, item("Open Folder"));
  for (int child = 0; depth < 2 && child < 4; ++child) {
    const std::string name = depth == 0 ? "Projekt – 書類 " + std::to_string(child)
                                        : "Jahr " + std::to_string(2020 + child);
    items = g_list_append(items, opening(name, folder(name, depth + 1)));
  }
  return g_list_append(nullptr, opening(label, items));
}

// Below its top level, the tree has 1,300 rows in 423 submenus.
constexpr int kTreeRows = 1300;
constexpr int kTreePages = 423;

GList* otherShape(bool onePage) {
  GList* rows = nullptr;
  for (int row = 0; row < (onePage ? kTreeRows : kTreePages); ++row) {
    const std::string name = "Folder " + std::to_string(row);
    rows = g_list_append(
        rows, onePage ? item(name) : opening(name, g_list_append(nullptr, item("Move Here"))));
  }
  GList* top = g_list_append(nullptr, opening("Move through Folders", rows));
  top = g_list_append(top, item("Undo Last Move"));
  return g_list_append(top, item("Open Move Settings…"));
}

GList* menu() {
  const char* chosen = g_getenv("TESSEL_BENCH_SHAPE");
  const std::string shape = chosen ? chosen : "";
  if (shape == "one-page" || shape == "one-row-pages") return otherShape(shape == "one-page");
  GList* favourites = nullptr;
  GList* hierarchy = nullptr;
  GList* recent = nullptr;
  for (int f = 0; f < 20; ++f) {
    const std::string name = "Favourite " + std::to_string(f);
    favourites = g_list_append(favourites, item(name));
    hierarchy = g_list_concat(hierarchy, folder(name, 0));
    recent = g_list_append(recent, item(f % 2 ? "Projekt – 書類 0" : name));
  }
  GList* top = nullptr;
  top = g_list_append(top, opening("Move To", favourites));
  top = g_list_append(top, opening("Move through Folders", hierarchy));
  top = g_list_append(top, opening("Recent Destinations", recent));
  top = g_list_append(top, item("Undo Last Move"));
  top = g_list_append(top, item("Open Move Settings…"));
  return top;
}

GList* fileItems(NautilusMenuProvider*, GList*) {
  return menu();
}

GList* backgroundItems(NautilusMenuProvider*, NautilusFileInfo*) {
  return menu();
}

struct ShapeProvider {
  GObject parent;
};
struct ShapeProviderClass {
  GObjectClass parent;
};

GType providerType = 0;

void providerInterfaceInit(gpointer iface, gpointer) {
  auto* provider = static_cast<NautilusMenuProviderInterface*>(iface);
  provider->get_file_items = fileItems;
  provider->get_background_items = backgroundItems;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  static const GTypeInfo info = {
      sizeof(ShapeProviderClass), nullptr, nullptr, nullptr, nullptr, nullptr,
      sizeof(ShapeProvider),      0,       nullptr, nullptr};
  providerType =
      g_type_module_register_type(module, G_TYPE_OBJECT, "ShapeMenuProvider", &info, GTypeFlags{});
  static const GInterfaceInfo menuProvider = {providerInterfaceInit, nullptr, nullptr};
  g_type_module_add_interface(module, providerType, NAUTILUS_TYPE_MENU_PROVIDER, &menuProvider);
}

__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                       int* count) {
  *types = &providerType;
  *count = 1;
}

__attribute__((visibility("default"))) void nautilus_module_shutdown() {}
}
