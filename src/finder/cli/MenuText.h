// The menu as tessel-finder prints it: indented text for people, JSON for scripts.
#pragma once

#include <ostream>

#include "Menu.h"

namespace tessel {

// One line per item, submenu items indented by two spaces below their entry: the title, then
// "#<tag>" for a command and a note when it is disabled; separators as "---".
void printMenuText(const Menu& menu, std::ostream& out);

// {"title":..., "items":[{"title", "tag", "enabled", "submenu"} or {"separator":true}]}, with
// "tag" only on commands and "submenu" only on entries that open one.
void printMenuJson(const Menu& menu, std::ostream& out);

}  // namespace tessel
