// A desktop that answers every question of the host model with nothing, for benchmarks that
// time the model and not the windows it would show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Desktop.h"

namespace tessel {

class NoDesktop final : public OpenPanel,
                        public WindowPresenter,
                        public FolderOpener,
                        public SettingsNotifier,
                        public FolderChooser {
 public:
  std::optional<QUrl> chooseFolder(const QString&) override { return std::nullopt; }
  std::optional<QList<QUrl>> chooseItems() override { return std::nullopt; }
  void hideVisibleWindows() override {}
  void bringForward() override {}
  bool openFolder(const QString&) override { return false; }
  void postSettingsChanged() override {}
  void chooseDestination(const std::vector<std::string>&) override {}
};

}  // namespace tessel
