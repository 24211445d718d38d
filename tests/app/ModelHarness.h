// A host model started on a temporary home and data folder with a fake desktop, and the
// helpers the model's, the window's and the application's tests share. Moves can be held on
// the worker thread to keep the model busy.
#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HostHarness.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"

namespace tessel::testing {

class ModelHarness : public ::testing::Test {
 protected:
  // A direct build unless `direct` is false.
  explicit ModelHarness(bool direct = true) : platform(temp, direct) {}
  ~ModelHarness() override { platform.releaseMoves(); }

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
  bool menuPublished();
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

class StoreBuildHarness : public ModelHarness {
 protected:
  StoreBuildHarness() : ModelHarness(false) {}
};

}  // namespace tessel::testing
