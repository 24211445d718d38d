// A host model started on a temporary home and data folder with a fake desktop, and the
// helpers its tests share.
#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <functional>
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
  explicit ModelHarness(bool direct = true) : platform(temp, direct) {}

  AppModel& start();
  // Settings with a freshly bookmarked favourite for each of these existing folders.
  HostSettings favoritesAt(const std::vector<std::string>& folders);
  FolderGrant grantFor(const std::string& folder);
  std::string support() const { return platform.dataHome + "/Tessel"; }
  std::string settingsFile() const { return support() + "/settings.json"; }
  void writeSettings(const HostSettings& settings);
  HostSettings storedSettings();
  bool menuPublished();
  MenuSnapshot publishedMenu();
  std::string status() const { return model->status().toStdString(); }

  // Runs a move or an undo to its end; its completion's answer.
  std::optional<bool> moveAndWait(const std::vector<std::string>& sources,
                                  const std::string& destination);
  std::optional<bool> undoAndWait();

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
