// What every test of the host shares: a host model on real files in a temporary home and data
// folder, with a stand-in desktop, and helpers for the Qt event loop, the settings and moves.
#pragma once

#include <gtest/gtest.h>

#include <QUrl>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "FaultInjectingPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"

namespace tessel::testing {

QUrl fileUrl(const std::string& path);

// Runs the event loop until `done` holds; false after ten seconds.
bool waitUntil(const std::function<bool()>& done);

// The home folder, the data folder, the Info file and the mount table pinned in a temporary
// folder. Moves can be held on the worker thread to keep the model busy.
class HostTestPlatform : public FaultInjectingPlatform {
 public:
  HostTestPlatform(const TempFolder& temp, bool direct);

  std::string dataHome;
  std::string container;  // the shared container of the test's group
  // What /proc/self/mountinfo reads as; empty, so no volumes, unless a test sets it.
  std::string mountinfo;

  void writeInfo(bool direct, const std::string& group = "group.test");
  std::string readFile(const std::string& path) override {
    return path == "/proc/self/mountinfo" ? mountinfo : FaultInjectingPlatform::readFile(path);
  }
  // Moves wait from holdMoves() until releaseMoves().
  void holdMoves();
  void releaseMoves();
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override;

 private:
  std::string infoFile_;
  std::mutex heldMutex_;
  std::condition_variable released_;
  bool held_ = false;
};

class HostHarness : public ::testing::Test {
 protected:
  // A direct build unless `direct` is false.
  explicit HostHarness(bool direct = true) : platform(temp, direct) {}
  ~HostHarness() override { platform.releaseMoves(); }

  // The model on the harness's folders, with `presenter` for its window requests (the fake
  // desktop by default).
  AppModel& start(WindowPresenter* presenter = nullptr);
  // Settings with a freshly bookmarked favourite for each of these existing folders.
  HostSettings favoritesAt(const std::vector<std::string>& folders);
  FolderGrant grantFor(const std::string& folder);
  // Folders under the home folder, added through the model as favourites in this order.
  void addFavorites(const std::vector<std::string>& names);
  std::string homePath(const std::string& relative) const { return platform.home + "/" + relative; }
  std::string support() const { return platform.dataHome + "/Tessel"; }
  std::string settingsFile() const { return support() + "/settings.json"; }
  void writeSettings(const HostSettings& settings);
  HostSettings storedSettings();
  std::string journal() { return platform.readFile(support() + "/undo.json"); }
  bool menuPublished() { return platform.fileExists(platform.container + "/menu.json"); }
  MenuSnapshot publishedMenu();
  std::string status() const { return model->status().toStdString(); }

  // Runs a move or an undo to its end; its completion's answer.
  std::optional<bool> moveAndWait(const std::vector<std::string>& sources,
                                  const std::string& destination);
  std::optional<bool> undoAndWait();
  // Starts a move of `file` into the first favourite that stays busy until finishHeldMove().
  void startHeldMove(const std::string& file);
  void finishHeldMove();

  TempFolder temp;
  HostTestPlatform platform;
  FakeDesktop desktop;
  std::unique_ptr<AppModel> model;
};

class StoreBuildHarness : public HostHarness {
 protected:
  StoreBuildHarness() : HostHarness(false) {}
};

}  // namespace tessel::testing
