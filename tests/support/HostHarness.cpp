#include "HostHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "container/SharedContainer.h"
#include "model/FolderBookmark.h"

namespace tessel::testing {

QUrl fileUrl(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path));
}

bool waitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(10000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

HostTestPlatform::HostTestPlatform(const TempFolder& temp, bool direct)
    : dataHome(temp.folder("data")),
      container(dataHome + "/group.test"),
      infoFile_(temp.at("tessel-info.json")) {
  home = temp.folder("home");
  variables = {{"XDG_DATA_HOME", dataHome}, {"TESSEL_INFO_FILE", infoFile_}};
  writeInfo(direct);
}

void HostTestPlatform::writeInfo(bool direct, const std::string& group) {
  writeFileAtomically(infoFile_,
                      std::string("{\"TesselDirectDistribution\":") + (direct ? "true" : "false") +
                          ",\"TesselAppGroup\":\"" + group + "\"}",
                      Durability::atomic);
}

void HostTestPlatform::holdMoves() {
  const std::lock_guard lock(heldMutex_);
  held_ = true;
}

void HostTestPlatform::releaseMoves() {
  {
    const std::lock_guard lock(heldMutex_);
    held_ = false;
  }
  released_.notify_all();
}

void HostTestPlatform::moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                                       const OpenFolder& toFolder, const std::string& toName) {
  {
    std::unique_lock lock(heldMutex_);
    released_.wait(lock, [this] { return !held_; });
  }
  FaultInjectingPlatform::moveItemBetween(fromFolder, fromName, toFolder, toName);
}

AppModel& HostHarness::start(WindowPresenter* presenter) {
  model = std::make_unique<AppModel>(
      Desktop{desktop, presenter ? *presenter : desktop, desktop, desktop}, platform);
  return *model;
}

FolderGrant HostHarness::grantFor(const std::string& folder) {
  return FolderGrant::make(folder, FolderBookmark::create(folder, platform));
}

HostSettings HostHarness::favoritesAt(const std::vector<std::string>& folders) {
  HostSettings settings;
  for (const std::string& folder : folders) settings.favorites.push_back(grantFor(folder));
  return settings;
}

void HostHarness::addFavorites(const std::vector<std::string>& names) {
  for (const std::string& name : names)
    model->addFolder(fileUrl(temp.folder("home/" + name)), true);
}

void HostHarness::writeSettings(const HostSettings& settings) {
  platform.createDirectories(support(), 0700);
  platform.writeFileAtomically(settingsFile(), encodeJson(settings), Durability::atomic);
}

HostSettings HostHarness::storedSettings() {
  return decodeJson<HostSettings>(platform.readFile(settingsFile()));
}

MenuSnapshot HostHarness::publishedMenu() {
  return SharedContainer::snapshot(platform);
}

std::optional<bool> HostHarness::moveAndWait(const std::vector<std::string>& sources,
                                             const std::string& destination) {
  std::optional<bool> answer;
  model->move(fileUrls(sources), QString::fromStdString(destination), false,
              [&answer](bool ok) { answer = ok; });
  waitUntil([&] { return answer.has_value(); });
  return answer;
}

std::optional<bool> HostHarness::undoAndWait() {
  std::optional<bool> answer;
  model->undoLastMove([&answer](bool ok) { answer = ok; });
  waitUntil([&] { return answer.has_value(); });
  return answer;
}

void HostHarness::startHeldMove(const std::string& file) {
  platform.holdMoves();
  model->move({fileUrl(file)}, QString::fromStdString(model->settings().favorites.at(0).path),
              false);
  ASSERT_TRUE(model->busy());
}

void HostHarness::finishHeldMove() {
  platform.releaseMoves();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
}

}  // namespace tessel::testing
