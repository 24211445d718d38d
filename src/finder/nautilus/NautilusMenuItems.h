// The core's menu as Files' menu items. Titles, order and enabled states are kept as the core
// built them, with two exceptions Files forces. Files has no separator item; the core only ever
// separates a run of commands from a run of submenus, which Files already sets apart (a submenu
// row carries an arrow), so separators are left out and every group stays together in its
// place. And Files cannot show an empty submenu, so one is shown as a disabled item.
#pragma once

#include <nautilus-extension.h>

#include <cstdint>

#include "Menu.h"
#include "ModuleFinderController.h"

namespace tessel {

// Called when a command item is chosen, with the object given to nautilusMenuItems() and the
// selection the menu was built for.
using ActivateCommand = void (*)(GObject* owner, std::int64_t tag,
                                 const ModuleFinderController::Selection& selection);

// Files' items for the entries of `menu`, which Files shows in its own context menu as the
// file manager shows an extension's menu; a list of full references for Files to own. Every
// command item holds a reference on `owner` until Files drops the item, so the owner outlives
// every menu it made.
GList* nautilusMenuItems(const Menu& menu, GObject* owner,
                         ModuleFinderController::Selection selection, ActivateCommand activate);

}  // namespace tessel
