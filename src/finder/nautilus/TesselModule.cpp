// The entry points Files looks up when it loads the module; the only symbols it exports.
#include <glib-object.h>

// Files' header declares the entry points without C linkage of their own.
extern "C" {
#include <nautilus-extension.h>
}

#include "TesselMenuProvider.h"
#include "core/Bundle.h"

namespace {
GType providerTypes[1];
}

extern "C" {

__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  tessel::Bundle::setModuleToPrograms(TESSEL_MODULE_TO_PROGRAMS);
  tessel_menu_provider_register(module);
  providerTypes[0] = TESSEL_TYPE_MENU_PROVIDER;
}

__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                       int* count) {
  *types = providerTypes;
  *count = G_N_ELEMENTS(providerTypes);
}

// Files never unloads a module whose types it made objects of; nothing is held outside them.
__attribute__((visibility("default"))) void nautilus_module_shutdown() {}
}
