// Naming a menu item by the titles leading to it: "Move through Folders > Archive > Move Here".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Menu.h"

namespace tessel {

// The titles of `path`, split at " > " and trimmed of surrounding spaces.
std::vector<std::string> splitTitlePath(std::string_view path);

// The item reached by following `titles` from `menu` through submenus, taking the first item
// of each title; null when there is none.
const MenuItem* findMenuItem(const Menu& menu, const std::vector<std::string>& titles);

}  // namespace tessel
