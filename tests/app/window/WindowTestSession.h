// A host model on a temporary home and data folder, with a stand-in desktop, for the window's
// and the application's tests. Moves can be held on the worker thread to keep the model busy.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QList>
#include <QUrl>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "TempFolder.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"
#include "platform/Platform.h"
#include "window/ContentView.h"

namespace tessel::testing {

// The real platform with the home folder and the environment pinned, and a switch that makes
// the engine's moves wait until the test lets them go.
class SessionPlatform final : public PlatformWrapper {
 public:
  SessionPlatform() : PlatformWrapper(Platform::standard()) {}

  std::string home;
  std::map<std::string, std::string> variables;

  void holdMoves();
  void releaseMoves();

  std::string homeFolder() override { return home; }
  std::optional<std::string> environment(const std::string& name) override;
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override;

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
};

// Answers the open panel as the test says and counts what the model asked of the desktop.
class StandInDesktop final : public OpenPanel,
                             public WindowPresenter,
                             public FolderOpener,
                             public SettingsNotifier {
 public:
  std::optional<QUrl> folderAnswer;
  std::optional<QList<QUrl>> itemsAnswer;
  int broughtForward = 0;

  std::optional<QUrl> chooseFolder(const QString&) override { return folderAnswer; }
  std::optional<QList<QUrl>> chooseItems() override { return itemsAnswer; }
  void hideVisibleWindows() override {}
  void bringForward() override { ++broughtForward; }
  bool openFolder(const QString&) override { return true; }
  void postSettingsChanged() override {}
};

// Switches the user's language for one scope.
class ScopedLanguage {
 public:
  explicit ScopedLanguage(const char* language);
  ~ScopedLanguage();

 private:
  std::string previous_;
};

class WindowTestSession : public ::testing::Test {
 protected:
  // A direct build unless `direct` is false.
  explicit WindowTestSession(bool direct = true);
  ~WindowTestSession() override;

  // The model on the session's folders, with `presenter` for its window requests (the
  // stand-in desktop by default).
  AppModel& startModel(WindowPresenter* presenter = nullptr);
  // Folders under the home folder, added as favourites in this order.
  void addFavorites(const std::vector<std::string>& names);
  std::string homePath(const std::string& relative) const { return platform.home + "/" + relative; }
  // Where the window says Files loads modules from, and where this installation's module is
  // (inside the home folder, where Files does not look).
  static constexpr const char* kFilesFolder = "/usr/lib/x86_64-linux-gnu/nautilus/extensions-4";
  static constexpr const char* kUserModule = ".local/lib/nautilus/extensions-4/tessel-nautilus.so";
  // What a window on this session sees: its desktop, home, the Files module and the check
  // whether Files has it.
  ContentEnvironment windowEnvironment(std::function<bool()> extensionInstalled);
  std::string storedSettings() const;
  std::string journal() const;
  // Starts a move of `file` into the first favourite that stays busy until releaseMoves().
  void startHeldMove(const std::string& file);
  void finishHeldMove();

  TempFolder temp;
  SessionPlatform platform;
  StandInDesktop desktop;
  std::unique_ptr<AppModel> model;
};

// Deletes the widgets whose deletion is queued, as the event loop would.
void flushDeletions();
// Runs the event loop until `done` holds; false after ten seconds.
bool waitUntil(const std::function<bool()>& done);

}  // namespace tessel::testing
