#include "WindowTestSession.h"

#include <QCoreApplication>
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

WindowTestSession::WindowTestSession(bool direct) : platform(temp, direct) {}

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

ContentEnvironment WindowTestSession::windowEnvironment(std::function<bool()> extensionInstalled) {
  return ContentEnvironment{desktop,
                            QString::fromStdString(platform.home),
                            {QString::fromStdString(homePath(kUserModule)), kFilesFolder},
                            std::move(extensionInstalled)};
}

}  // namespace tessel::testing
