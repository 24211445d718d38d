// AppModel: start-up, the published values, the settings and grants, and the menu snapshot.
#include "model/AppModel.h"

#include "container/SharedContainer.h"
#include "core/Bundle.h"
#include "core/Errors.h"
#include "model/FileUrls.h"
#include "model/MenuSnapshotBuilder.h"
#include "model/ModelTexts.h"
#include "path/PathText.h"

namespace tessel {

AppModel::AppModel(Desktop desktop, Platform& platform, QObject* parent)
    : QObject(parent),
      desktop_(desktop),
      platform_(platform),
      status_(QString::fromStdString(ModelTexts::ready())),
      store_(platform),
      access_(DistributionMode::direct(platform), platform),
      engine_(store_.journalPath(), platform) {
  start();
}

AppModel::~AppModel() = default;

void AppModel::start() {
  try {
    store_.prepare(access_.direct());
    if (std::optional<HostSettings> stored = loadSettings()) setSettings(*stored);
    access_.reopenScopes(settings_);
  } catch (const std::exception& error) {
    setStatusText(error.what());
    return;
  }
  refreshMenu();
}

std::optional<HostSettings> AppModel::loadSettings() {
  try {
    return store_.load();
  } catch (const DecodingError&) {
    // The defaults stay in use and the next save replaces the file: keep a copy first, so a
    // damaged or newer-format file never costs the user their favourites.
    if (const std::optional<std::string> copy = store_.keepUnreadableCopy()) {
      platform_.log("Tessel kept the unreadable settings as " + *copy);
    }
    throw;
  }
}

void AppModel::setSettings(const HostSettings& settings) {
  settings_ = settings;
  emit settingsChanged();
}

void AppModel::setStatus(const QString& status) {
  // What the host did in the background can be read afterwards in the system log, which also
  // shows the line on a terminal: a second copy here would print it twice.
  platform_.log(status.toStdString());
  if (status == status_) return;
  status_ = status;
  emit statusChanged();
}

void AppModel::setStatusText(const std::string& text) {
  setStatus(QString::fromStdString(text));
}

void AppModel::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  emit busyChanged();
}

void AppModel::setExtensionEnabled(bool enabled) {
  if (enabled == extensionEnabled_) return;
  extensionEnabled_ = enabled;
  emit extensionEnabledChanged();
}

void AppModel::setSelectedSources(const QList<QUrl>& sources) {
  if (sources == selectedSources_) return;
  selectedSources_ = sources;
  emit selectedSourcesChanged();
}

void AppModel::setSelectedDestination(const QString& destination) {
  if (destination == selectedDestination_) return;
  selectedDestination_ = destination;
  emit selectedDestinationChanged();
}

void AppModel::reopenScopes() {
  access_.reopenScopes(settings_);
}

std::string AppModel::resolveGrant(const FolderGrant& grant) const {
  return access_.resolveGrant(grant);
}

void AppModel::saveSettings() {
  // A walk of the settings before these is out of date already, not only once they are stored.
  const std::uint64_t generation = ++newestMenu_;
  ++unfinishedWrites_;
  worker_.run<bool>(
      [store = &store_, settings = settings_] {
        store->save(settings);
        return true;
      },
      this,
      [this, generation](const Outcome<bool>& outcome) {
        --unfinishedWrites_;
        try {
          if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) {
            std::rethrow_exception(*error);
          }
          access_.reopenScopes(settings_);
        } catch (const std::exception& error) {
          setStatusText(error.what());
          return;
        }
        publishMenu(generation);
      });
}

void AppModel::addFolder(const QUrl& url, bool favorite) {
  if (busy_) return;
  const std::string path = standardizedPath(localPath(url));
  Bytes bookmark;
  try {
    if (platform_.attributesOfItem(path).type != FileType::directory) {
      setStatusText(ModelTexts::selectFolder());
      return;
    }
    bookmark = access_.makeBookmark(path);
  } catch (const std::exception& error) {
    setStatusText(error.what());
    return;
  }
  HostSettings changed = settings_;
  std::vector<FolderGrant>& grants = favorite ? changed.favorites : changed.roots;
  const auto existing = std::ranges::find(grants, path, &FolderGrant::path);
  if (existing != grants.end()) {
    existing->bookmark = bookmark;  // renewal: identifier, name and place stay
  } else {
    grants.push_back(FolderGrant::make(path, bookmark));
  }
  setSettings(changed);
  if (favorite) setSelectedDestination(QString::fromStdString(path));
  saveSettings();
}

void AppModel::addSourceFolder() {
  if (busy_) return;
  const std::optional<QUrl> folder =
      desktop_.panel.chooseFolder(QString::fromStdString(ModelTexts::allowSourceFolderPrompt()));
  if (folder) addFolder(*folder, false);
}

void AppModel::refreshMenu() {
  publishMenu(++newestMenu_);
}

void AppModel::publishMenu(std::uint64_t generation) {
  ++unfinishedWrites_;
  using Published = std::optional<MenuSnapshot>;
  menuWorker_.run<Published>(
      [newest = &newestMenu_, generation, settings = settings_, access = access_,
       platform = &platform_]() -> Published {
        // A newer refresh waits behind this one and publishes for both.
        if (*newest != generation) return std::nullopt;
        MenuSnapshot snapshot = buildMenuSnapshot(settings, access, *platform);
        if (*newest != generation) return std::nullopt;
        SharedContainer::publish(snapshot, *platform);
        return snapshot;
      },
      this,
      [this, generation](const Outcome<Published>& outcome) {
        --unfinishedWrites_;
        if (generation != newestMenu_) return;
        if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) {
          setStatusText(errorDescription(*error));
        } else if (const Published& snapshot = std::get<Published>(outcome)) {
          publishedMenu_ = *snapshot;
          emit menuPublished();
          desktop_.notifier.postSettingsChanged();
        }
      });
}

}  // namespace tessel
