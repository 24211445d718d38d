// A file manager that loads the core as a module, as the core sees it. Such a file manager has
// no notion of watched folders, so the folders the core asks to watch are kept here and decide
// where the menu is offered; it hands the selection with each request, so the selection is the
// set of items of the menu being built or chosen from.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "FinderController.h"

namespace tessel {

class ModuleFinderController final : public FinderController {
 public:
  using Selection = std::shared_ptr<const std::vector<std::string>>;

  // Makes `selection` the answer to selectedItemURLs() while it lives: there is no current
  // selection outside a request.
  class SelectionScope {
   public:
    SelectionScope(ModuleFinderController& finder, Selection selection);
    ~SelectionScope();
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

   private:
    ModuleFinderController& finder_;
  };

  // True when every item lies below a watched folder (a watched folder itself is shown by a
  // folder that is not watched) and there is at least one item.
  bool offersMenuForItems(const std::vector<std::string>& items) const;
  // True when `folder` is a watched folder or lies below one.
  bool offersMenuInFolder(const std::string& folder) const;

  void setDirectoryURLs(const std::set<std::string>& folders) override;
  std::optional<std::vector<std::string>> selectedItemURLs() override;

 private:
  bool watches(const std::string& path, bool orIsWatched) const;

  mutable std::mutex mutex_;
  std::vector<std::string> folders_;  // standardised
  Selection selection_;
};

}  // namespace tessel
