// The entry points Caja looks up when it loads the module; the only symbols it exports.
#include <libcaja-extension/caja-extension-types.h>

#include "CajaMenuProvider.h"
#include "ModuleEntryPoints.h"

using Module = tessel::ModuleEntryPoints<tessel::CajaMenuProvider>;

extern "C" {
__attribute__((visibility("default"))) void caja_module_initialize(GTypeModule* module) {
  Module::initialize(module);
}
__attribute__((visibility("default"))) void caja_module_list_types(const GType** types,
                                                                   int* count) {
  Module::listTypes(types, count);
}
// Caja never unloads a module whose types it made objects of; nothing is held outside them.
__attribute__((visibility("default"))) void caja_module_shutdown() {}
}
