// The entry points Thunar looks up when it loads the module; the only symbols it exports.
#include "ModuleEntryPoints.h"
#include "ThunarxMenuProvider.h"

using Module = tessel::ModuleEntryPoints<tessel::ThunarxMenuProvider>;

extern "C" {
__attribute__((visibility("default"))) void thunar_extension_initialize(
    ThunarxProviderPlugin* plugin) {
  // A Thunar of another major version of the library cannot use the module.
  if (const char* mismatch = thunarx_check_version(THUNARX_MAJOR_VERSION, THUNARX_MINOR_VERSION,
                                                   THUNARX_MICRO_VERSION)) {
    g_warning("Tessel's module does not fit this Thunar: %s", mismatch);
    return;
  }
  // The module's threads and bus subscriptions outlive any one window: it stays loaded.
  thunarx_provider_plugin_set_resident(plugin, TRUE);
  Module::initialize(plugin);
}
__attribute__((visibility("default"))) void thunar_extension_list_types(const GType** types,
                                                                        int* count) {
  Module::listTypes(types, count);
}
__attribute__((visibility("default"))) void thunar_extension_shutdown() {}
}
