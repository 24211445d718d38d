// What ties the file manager's menu items to the core: the command an item carries out when
// chosen, and the items a submenu must keep for as long as it lives.
#pragma once

#include <glib-object.h>

#include <cstdint>

#include "ModuleSession.h"

namespace tessel {

// Has `item`'s "activate" signal carry out the command `tag` of `session` for `selection`. The
// item holds a reference on `owner`, the provider that owns `session`, until the file manager
// drops the item, so the provider outlives every menu it made.
void connectCommand(GObject* item, GObject* owner, ModuleSession& session, std::int64_t tag,
                    ModuleSession::Selection selection);

// Releases `items` (a list of full references) when `menu` goes.
void releaseItemsWithMenu(GObject* menu, GList* items);

}  // namespace tessel
