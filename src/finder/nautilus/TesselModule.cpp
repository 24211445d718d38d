// The entry points Files looks up when it loads the module; the only symbols it exports.
#include "ModuleEntryPoints.h"
#include "NautilusMenuProvider.h"

using Module = tessel::ModuleEntryPoints<tessel::NautilusMenuProvider>;

extern "C" {
__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  Module::initialize(module);
}
__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                       int* count) {
  Module::listTypes(types, count);
}
// Files never unloads a module whose types it made objects of; nothing is held outside them.
__attribute__((visibility("default"))) void nautilus_module_shutdown() {}
}
