#include "ModuleFinderController.h"

#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel {

ModuleFinderController::SelectionScope::SelectionScope(ModuleFinderController& finder,
                                                       Selection selection)
    : finder_(finder) {
  std::lock_guard lock(finder_.mutex_);
  finder_.selection_ = std::move(selection);
}

ModuleFinderController::SelectionScope::~SelectionScope() {
  std::lock_guard lock(finder_.mutex_);
  finder_.selection_.reset();
}

bool ModuleFinderController::offersMenuForItems(const std::vector<std::string>& items) const {
  if (items.empty()) return false;
  for (const std::string& item : items) {
    if (!watches(item, false)) return false;
  }
  return true;
}

bool ModuleFinderController::offersMenuInFolder(const std::string& folder) const {
  return watches(folder, true);
}

bool ModuleFinderController::watches(const std::string& path, bool orIsWatched) const {
  // Lexical only: this runs for every menu the file manager asks for, and it names items by the
  // path the user navigated, so resolving links here would cost file-system calls and gain nothing.
  const std::string standardized = standardizedPath(path);
  std::lock_guard lock(mutex_);
  for (const std::string& folder : folders_) {
    if (PathSafety::containsCanonical(folder, standardized) &&
        (orIsWatched || standardized != folder)) {
      return true;
    }
  }
  return false;
}

void ModuleFinderController::setDirectoryURLs(const std::set<std::string>& folders) {
  std::vector<std::string> standardized;
  for (const std::string& folder : folders) standardized.push_back(standardizedPath(folder));
  std::lock_guard lock(mutex_);
  folders_ = std::move(standardized);
}

std::optional<std::vector<std::string>> ModuleFinderController::selectedItemURLs() {
  std::lock_guard lock(mutex_);
  if (!selection_) return std::nullopt;
  return *selection_;
}

}  // namespace tessel
