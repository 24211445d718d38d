// Files' popover shows each submenu as a page of one stack for the whole context menu, named by
// the submenu's label, and keeps the pages of nested submenus when Files rebuilds the menu. Two
// pages of one name make GTK warn on every rebuild and open the first page of that name, which
// may be another folder's or an earlier menu's.
#pragma once

#include <string>

namespace tessel {

// `title` followed by a number written in invisible characters (zero-width space for 0, word
// joiner for 1), another one for every submenu this process hands Files: the title the user
// sees is unchanged.
std::string nautilusPageLabel(const std::string& title);

}  // namespace tessel
