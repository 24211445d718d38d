#include "ModelHarness.h"

#include "container/SharedContainer.h"
#include "model/FolderBookmark.h"

namespace tessel::testing {

AppModel& ModelHarness::start(WindowPresenter* presenter) {
  model = std::make_unique<AppModel>(
      Desktop{desktop, presenter ? *presenter : desktop, desktop, desktop}, platform);
  return *model;
}

FolderGrant ModelHarness::grantFor(const std::string& folder) {
  return FolderGrant::make(folder, FolderBookmark::create(folder, platform));
}

HostSettings ModelHarness::favoritesAt(const std::vector<std::string>& folders) {
  HostSettings settings;
  for (const std::string& folder : folders) settings.favorites.push_back(grantFor(folder));
  return settings;
}

void ModelHarness::addFavorites(const std::vector<std::string>& names) {
  for (const std::string& name : names)
    model->addFolder(fileUrl(temp.folder("home/" + name)), true);
}

void ModelHarness::writeSettings(const HostSettings& settings) {
  platform.createDirectories(support(), 0700);
  platform.writeFileAtomically(settingsFile(), encodeJson(settings), Durability::atomic);
}

HostSettings ModelHarness::storedSettings() {
  return decodeJson<HostSettings>(platform.readFile(settingsFile()));
}

bool ModelHarness::menuPublished() {
  return platform.fileExists(platform.container + "/menu.json");
}

MenuSnapshot ModelHarness::publishedMenu() {
  return SharedContainer::snapshot(platform);
}

std::optional<bool> ModelHarness::moveAndWait(const std::vector<std::string>& sources,
                                              const std::string& destination) {
  std::optional<bool> answer;
  model->move(fileUrls(sources), QString::fromStdString(destination), false,
              [&answer](bool ok) { answer = ok; });
  waitUntil([&] { return answer.has_value(); });
  return answer;
}

std::optional<bool> ModelHarness::undoAndWait() {
  std::optional<bool> answer;
  model->undoLastMove([&answer](bool ok) { answer = ok; });
  waitUntil([&] { return answer.has_value(); });
  return answer;
}

void ModelHarness::startHeldMove(const std::string& file) {
  platform.holdMoves();
  model->move({fileUrl(file)}, QString::fromStdString(model->settings().favorites.at(0).path),
              false);
  ASSERT_TRUE(model->busy());
}

void ModelHarness::finishHeldMove() {
  platform.releaseMoves();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
}

}  // namespace tessel::testing
