// What the extension asks of the file manager that shows its menu.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tessel {

class FinderController {
 public:
  virtual ~FinderController() = default;

  // Replaces the folders within which the file manager offers the menu. Any thread.
  virtual void setDirectoryURLs(const std::set<std::string>& folders) = 0;
  // Absolute paths of the items selected where the menu was asked for, in the file manager's
  // order; none when it cannot tell. Any thread.
  virtual std::optional<std::vector<std::string>> selectedItemURLs() = 0;
};

}  // namespace tessel
