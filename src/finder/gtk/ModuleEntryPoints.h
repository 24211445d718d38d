// What a module's entry points do, whichever file manager calls them: initialising registers
// the one provider type with the file manager's module object, and listing hands that type.
// Included only by a module's entry-point file, which names the path to the programs.
#pragma once

#include <glib-object.h>

#include "ModuleProvider.h"
#include "core/Bundle.h"

namespace tessel {

template <class Api>
struct ModuleEntryPoints {
  static void initialize(typename Api::Plugin* plugin) {
    Bundle::setModuleToPrograms(TESSEL_MODULE_TO_PROGRAMS);
    types[0] = ModuleProvider<Api>::registerIn(plugin);
  }
  static void listTypes(const GType** listed, int* count) {
    *listed = types;
    *count = G_N_ELEMENTS(types);
  }

  static inline GType types[1];
};

}  // namespace tessel
