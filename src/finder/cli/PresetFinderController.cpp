#include "PresetFinderController.h"

namespace tessel {

void PresetFinderController::setSelection(std::optional<std::vector<std::string>> selection) {
  std::lock_guard lock(mutex_);
  selection_ = std::move(selection);
}

std::set<std::string> PresetFinderController::directoryURLs() const {
  std::lock_guard lock(mutex_);
  return directories_;
}

void PresetFinderController::setDirectoryURLs(const std::set<std::string>& folders) {
  std::lock_guard lock(mutex_);
  directories_ = folders;
}

std::optional<std::vector<std::string>> PresetFinderController::selectedItemURLs() {
  std::lock_guard lock(mutex_);
  return selection_;
}

}  // namespace tessel
