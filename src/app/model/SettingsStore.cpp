#include "model/SettingsStore.h"

#include <cerrno>

#include "core/DataHome.h"
#include "core/Errors.h"
#include "path/PathText.h"

namespace tessel {
namespace {

constexpr const char* kSettingsFileName = "settings.json";
constexpr const char* kJournalFileName = "undo.json";

}  // namespace

SettingsStore::SettingsStore(Platform& platform)
    : platform_(platform), support_(joinPath(dataHome(platform), "Tessel")) {}

std::string SettingsStore::settingsPath() const {
  return joinPath(support_, kSettingsFileName);
}

std::string SettingsStore::journalPath() const {
  return joinPath(support_, kJournalFileName);
}

std::string SettingsStore::formerFolder() const {
  return joinPath(platform_.homeFolder(), ".var/app/com.quillmark.Tessel/data/Tessel");
}

void SettingsStore::prepare(bool direct) {
  // The settings and the journal name the user's folders and files: for this user alone.
  platform_.createDirectories(support_, 0700);
  if (!direct || platform_.fileExists(settingsPath())) return;
  const std::string former = formerFolder();
  for (const char* name : {kSettingsFileName, kJournalFileName}) {
    const std::string from = joinPath(former, name);
    if (!platform_.fileExists(from)) continue;
    try {
      platform_.copyItem(from, joinPath(support_, name));
    } catch (const PlatformError&) {
      // Most often the file is already here; the next file may still be missing.
    }
  }
}

std::optional<HostSettings> SettingsStore::load() {
  if (!platform_.fileExists(settingsPath())) return std::nullopt;
  return decodeJson<HostSettings>(platform_.readFile(settingsPath()));
}

std::optional<std::string> SettingsStore::keepUnreadableCopy() {
  for (int number = 1; number <= 100; ++number) {
    const std::string suffix = number == 1 ? "" : " " + std::to_string(number);
    const std::string copy = joinPath(support_, "settings.unreadable" + suffix + ".json");
    try {
      platform_.copyItem(settingsPath(), copy);
      return copy;
    } catch (const PlatformError& error) {
      // Earlier copies are kept; anything else means no copy can be made.
      if (error.code() != EEXIST) return std::nullopt;
    }
  }
  return std::nullopt;
}

void SettingsStore::save(const HostSettings& settings) {
  platform_.writeFileAtomically(settingsPath(), encodeJson(settings), Durability::durable);
}

}  // namespace tessel
