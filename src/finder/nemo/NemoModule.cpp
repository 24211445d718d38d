// The entry points Nemo looks up when it loads the module; the only symbols it exports.
#include <libnemo-extension/nemo-extension-types.h>

#include "ModuleEntryPoints.h"
#include "NemoMenuProvider.h"

using Module = tessel::ModuleEntryPoints<tessel::NemoMenuProvider>;

extern "C" {
__attribute__((visibility("default"))) void nemo_module_initialize(GTypeModule* module) {
  Module::initialize(module);
}
__attribute__((visibility("default"))) void nemo_module_list_types(const GType** types,
                                                                   int* count) {
  Module::listTypes(types, count);
}
// Nemo never unloads a module whose types it made objects of; nothing is held outside them.
__attribute__((visibility("default"))) void nemo_module_shutdown() {}
}
