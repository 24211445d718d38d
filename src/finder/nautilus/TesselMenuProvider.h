// The menu provider Files loads from this module: Tessel's menu for selected items and for a
// folder's background, offered within the folders the host's snapshot names.
#pragma once

#include <glib-object.h>

G_BEGIN_DECLS

#define TESSEL_TYPE_MENU_PROVIDER (tessel_menu_provider_get_type())
G_DECLARE_FINAL_TYPE(TesselMenuProvider, tessel_menu_provider, TESSEL, MENU_PROVIDER, GObject)

// Registers the type with the module Files loaded; once, from nautilus_module_initialize.
void tessel_menu_provider_register(GTypeModule* module);

G_END_DECLS
