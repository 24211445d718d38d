// The order in which file managers list names: numbers by value ("Folder 9" before
// "Folder 10"), case and accents of little weight, in the user's language.
#pragma once

#include <QCollator>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tessel {

class FinderOrder {
 public:
  FinderOrder();

  // Sorts by name, ascending; equal names keep their order.
  void sort(std::vector<DirectoryEntry>& entries) const;

 private:
  QCollator collator_;
};

}  // namespace tessel
