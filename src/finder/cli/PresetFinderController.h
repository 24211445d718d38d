// A file manager whose selection is given up front and whose watched folders are kept to be
// read back: what tessel-finder stands for when another file manager or a script calls it.
#pragma once

#include <mutex>

#include "FinderController.h"

namespace tessel {

class PresetFinderController final : public FinderController {
 public:
  explicit PresetFinderController(std::optional<std::vector<std::string>> selection = {})
      : selection_(std::move(selection)) {}

  void setSelection(std::optional<std::vector<std::string>> selection);
  std::set<std::string> directoryURLs() const;

  void setDirectoryURLs(const std::set<std::string>& folders) override;
  std::optional<std::vector<std::string>> selectedItemURLs() override;

 private:
  mutable std::mutex mutex_;
  std::optional<std::vector<std::string>> selection_;
  std::set<std::string> directories_;
};

}  // namespace tessel
