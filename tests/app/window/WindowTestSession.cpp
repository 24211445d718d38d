#include "WindowTestSession.h"

#include <stdlib.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <fstream>
#include <sstream>

namespace tessel::testing {
namespace {

std::string contents(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

void SessionPlatform::holdMoves() {
  std::lock_guard lock(mutex_);
  held_ = true;
}

void SessionPlatform::releaseMoves() {
  {
    std::lock_guard lock(mutex_);
    held_ = false;
  }
  released_.notify_all();
}

std::optional<std::string> SessionPlatform::environment(const std::string& name) {
  const auto found = variables.find(name);
  if (found == variables.end()) return std::nullopt;
  return found->second;
}

void SessionPlatform::moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                                      const OpenFolder& toFolder, const std::string& toName) {
  {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return !held_; });
  }
  PlatformWrapper::moveItemBetween(fromFolder, fromName, toFolder, toName);
}

ScopedLanguage::ScopedLanguage(const char* language) {
  if (const char* current = ::getenv("LANGUAGE")) previous_ = current;
  ::setenv("LANGUAGE", language, 1);
}

ScopedLanguage::~ScopedLanguage() {
  ::setenv("LANGUAGE", previous_.c_str(), 1);
}

WindowTestSession::WindowTestSession(bool direct) {
  platform.home = temp.folder("home");
  const std::string info = temp.file("info.json", std::string(R"({"TesselDirectDistribution":)") +
                                                      (direct ? "true" : "false") +
                                                      R"(,"TesselAppGroup":"group.test"})");
  platform.variables = {{"XDG_DATA_HOME", temp.folder("data")}, {"TESSEL_INFO_FILE", info}};
}

WindowTestSession::~WindowTestSession() {
  platform.releaseMoves();
}

AppModel& WindowTestSession::startModel(WindowPresenter* presenter) {
  model = std::make_unique<AppModel>(
      Desktop{desktop, presenter ? *presenter : desktop, desktop, desktop}, platform);
  return *model;
}

void WindowTestSession::addFavorites(const std::vector<std::string>& names) {
  for (const std::string& name : names)
    model->addFolder(fileUrl(temp.folder("home/" + name)), true);
}

std::string WindowTestSession::storedSettings() const {
  return contents(temp.at("data/Tessel/settings.json"));
}

std::string WindowTestSession::journal() const {
  return contents(temp.at("data/Tessel/undo.json"));
}

void WindowTestSession::startHeldMove(const std::string& file) {
  platform.holdMoves();
  model->move({fileUrl(file)}, QString::fromStdString(model->settings().favorites.at(0).path),
              false);
  ASSERT_TRUE(model->busy());
}

void WindowTestSession::finishHeldMove() {
  platform.releaseMoves();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
}

void flushDeletions() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool waitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(10000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

ContentEnvironment WindowTestSession::windowEnvironment(std::function<bool()> extensionInstalled) {
  return ContentEnvironment{desktop,
                            QString::fromStdString(platform.home),
                            {QString::fromStdString(homePath(kUserModule)), kFilesFolder},
                            std::move(extensionInstalled)};
}

}  // namespace tessel::testing
