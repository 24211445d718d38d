// tessel-nautilus.so loaded the way Files loads a module: a GTypeModule whose first use opens
// the file and calls its nautilus_module_initialize, then nautilus_module_list_types.
#pragma once

#include <glib-object.h>

#include <vector>

namespace tessel::testing {

// The types the module lists, loading it on first use; it then stays loaded, as in Files.
const std::vector<GType>& moduleTypes();

}  // namespace tessel::testing
