#include "ModelHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>

#include "container/SharedContainer.h"
#include "model/FolderBookmark.h"

namespace tessel::testing {

ScopedLanguage::ScopedLanguage(const char* language) {
  if (const char* value = std::getenv("LANGUAGE")) previous_ = value;
  ::setenv("LANGUAGE", language, 1);
}

ScopedLanguage::~ScopedLanguage() {
  if (previous_) {
    ::setenv("LANGUAGE", previous_->c_str(), 1);
  } else {
    ::unsetenv("LANGUAGE");
  }
}

QUrl fileUrl(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path));
}

FolderGrant grantFor(const std::string& folder, Platform& platform) {
  return FolderGrant::make(folder, FolderBookmark::create(folder, platform));
}

AppModel& ModelHarness::start() {
  model = std::make_unique<AppModel>(desktop.desktop(), platform);
  return *model;
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

bool waitUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 10'000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
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

}  // namespace tessel::testing
