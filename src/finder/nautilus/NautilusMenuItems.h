// The core's menu as Files' menu items. Titles, order and enabled states are kept as the core
// built them. Files has no separator item; the core only ever separates a run of commands from
// a run of submenus, which Files already sets apart (a submenu row carries an arrow), so
// separators are left out and every group stays together in its place.
#pragma once

#include <nautilus-extension.h>

#include <cstdint>

#include "FilesFinderController.h"
#include "Menu.h"

namespace tessel {

// Called when a command item is chosen, with the object given to nautilusMenuItems() and the
// selection the menu was built for.
using ActivateCommand = void (*)(GObject* owner, std::int64_t tag,
                                 const FilesFinderController::Selection& selection);

// One item titled as `menu` (the whole menu below it), with `tip` as its tooltip; a full
// reference for Files to own. Every command item holds a reference on `owner` until Files drops
// the item, so the owner outlives every menu it made.
NautilusMenuItem* nautilusMenuItem(const Menu& menu, const std::string& tip, GObject* owner,
                                   FilesFinderController::Selection selection,
                                   ActivateCommand activate);

}  // namespace tessel
