// The host's support folder ($XDG_DATA_HOME/Tessel) and the settings file in it.
#pragma once

#include <optional>
#include <string>

#include "model/HostSettings.h"
#include "platform/Platform.h"

namespace tessel {

class SettingsStore {
 public:
  // Fixes the folder for the life of the store; touches no file.
  explicit SettingsStore(Platform& platform);

  const std::string& supportFolder() const { return support_; }
  std::string settingsPath() const;
  std::string journalPath() const;

  // Makes the support folder. In a direct build that has no settings yet, first copies the
  // files a sandboxed build of Tessel left in its own data folder; a file that cannot be
  // copied is passed over, and the originals stay where they are.
  void prepare(bool direct);

  // The stored settings; none when no settings file exists. Read and decoding errors are
  // thrown unchanged.
  std::optional<HostSettings> load();

  // Replaces the settings file atomically and durably.
  void save(const HostSettings& settings);

  // Where a sandboxed (Flatpak) build keeps the same files.
  std::string formerFolder() const;

 private:
  Platform& platform_;
  std::string support_;
};

}  // namespace tessel
