// The extension's menu as a plain tree, independent of any toolkit: each front end (the GNOME
// Files module, tessel-finder) turns it into its own widgets or text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessel {

struct Menu;

// A command (carrying the tag of its command), an entry that opens a submenu, or a separator.
struct MenuItem {
  std::string title;
  std::optional<std::int64_t> tag;  // present exactly for items that carry a command
  bool enabled = true;
  bool separator = false;
  std::unique_ptr<Menu> submenu;

  static MenuItem separatorItem() { return MenuItem{{}, std::nullopt, true, true, nullptr}; }
  static MenuItem opening(std::string title, std::unique_ptr<Menu> submenu) {
    return MenuItem{std::move(title), std::nullopt, true, false, std::move(submenu)};
  }
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;
};

}  // namespace tessel
