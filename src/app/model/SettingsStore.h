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

  // Copies an unreadable settings file to "settings.unreadable.json" (or a numbered name when
  // that exists) so that the next save, which writes the defaults, cannot destroy the user's
  // favourites. Returns the copy's path; none when no copy could be made.
  std::optional<std::string> keepUnreadableCopy();

  // Replaces the settings file atomically and durably.
  void save(const HostSettings& settings);

  // Where a sandboxed (Flatpak) build keeps the same files.
  std::string formerFolder() const;

 private:
  Platform& platform_;
  std::string support_;
};

}  // namespace tessel
