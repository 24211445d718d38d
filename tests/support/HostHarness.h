// What every test of the host shares: a host model on real files in a temporary home and data
// folder, with a stand-in desktop, and helpers for the Qt event loop, the settings and moves.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QUrl>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"
#include "container/SharedContainer.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"
#include "model/FolderBookmark.h"

namespace tessel::testing {

// A desktop that records what the model asked of it and answers as the test says.
struct FakeDesktop final : OpenPanel,
                           WindowPresenter,
                           FolderOpener,
                           SettingsNotifier,
                           FolderChooser {
  // Answers of the open panel; none is a cancel.
  std::optional<QUrl> folderAnswer;
  std::optional<QList<QUrl>> itemsAnswer;
  int windowsHidden = 0, broughtForward = 0, notifications = 0;
  bool openSucceeds = true;
  QStringList openedFolders;
  std::vector<std::vector<std::string>> choices;  // the sources of each chooser asked for

  std::optional<QUrl> chooseFolder(const QString&) override { return folderAnswer; }
  std::optional<QList<QUrl>> chooseItems() override { return itemsAnswer; }
  void hideVisibleWindows() override { ++windowsHidden; }
  void bringForward() override { ++broughtForward; }
  bool openFolder(const QString& path) override {
    openedFolders.push_back(path);
    return openSucceeds;
  }
  void postSettingsChanged() override { ++notifications; }
  void chooseDestination(const std::vector<std::string>& sources) override {
    choices.push_back(sources);
  }
};

// Runs the event loop until `done` holds; false after thirty seconds.
bool waitUntil(const std::function<bool()>& done);

// Holds whoever passes it, from hold() until release(), both called on the test's thread.
class Gate {
 public:
  void hold() {
    if (!std::exchange(held_, true)) mutex_.lock();
  }
  void release() {
    if (std::exchange(held_, false)) mutex_.unlock();
  }
  void pass() { const std::lock_guard passing(mutex_); }

 private:
  std::mutex mutex_;
  bool held_ = false;
};

// The home folder, the data folder, the Info file (of a direct build until a test writes
// another) and the mount table pinned in a temporary folder. Moves, and the listing of one
// folder, can be held on the worker threads to keep the model busy.
class HostTestPlatform : public FaultInjectingPlatform {
 public:
  explicit HostTestPlatform(const TempFolder& temp)
      : dataHome(temp.folder("data")), infoFile_(temp.at("tessel-info.json")) {
    home = temp.folder("home");
    variables = {{"XDG_DATA_HOME", dataHome}, {"TESSEL_INFO_FILE", infoFile_}};
    writeInfo(true);
  }

  std::string dataHome;
  std::string container = dataHome + "/group.test";  // the shared container of the test's group
  // What /proc/self/mountinfo reads as; empty, so no volumes, unless a test sets it.
  std::string mountinfo;
  Gate moves;
  Gate listing;
  std::string heldListing;  // the folder whose listing waits at `listing`

  void writeInfo(bool direct, const std::string& group = "group.test") {
    writeFileAtomically(infoFile_,
                        std::string("{\"TesselDirectDistribution\":") +
                            (direct ? "true" : "false") + ",\"TesselAppGroup\":\"" + group + "\"}",
                        Durability::atomic);
  }
  std::string readFile(const std::string& path) override {
    return path == "/proc/self/mountinfo" ? mountinfo : FaultInjectingPlatform::readFile(path);
  }
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override {
    moves.pass();
    FaultInjectingPlatform::moveItemBetween(fromFolder, fromName, toFolder, toName);
  }
  std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) override {
    if (path == heldListing) listing.pass();
    return FaultInjectingPlatform::contentsOfDirectory(path);
  }

 private:
  std::string infoFile_;
};

class HostHarness : public ::testing::Test {
 protected:
  ~HostHarness() override {
    platform.moves.release();
    platform.listing.release();
  }

  // The model on the harness's folders, with `presenter` for its window requests and `chooser`
  // for its chooser (the fake desktop by default).
  AppModel& start(WindowPresenter* presenter = nullptr, FolderChooser* chooser = nullptr) {
    model = std::make_unique<AppModel>(Desktop{desktop, presenter ? *presenter : desktop, desktop,
                                               desktop, chooser ? *chooser : desktop},
                                       platform);
    return *model;
  }
  FolderGrant grantFor(const std::string& folder) {
    return FolderGrant::make(folder, FolderBookmark::create(folder, platform));
  }
  // Settings with a freshly bookmarked favourite for each of these existing folders.
  HostSettings favoritesAt(const std::vector<std::string>& folders) {
    HostSettings settings;
    for (const std::string& folder : folders) settings.favorites.push_back(grantFor(folder));
    return settings;
  }
  // Folders under the home folder, added through the model as favourites in this order.
  void addFavorites(const std::vector<std::string>& names) {
    for (const std::string& name : names)
      model->addFolder(fileUrl(temp.folder("home/" + name)), true);
  }
  std::string homePath(const std::string& relative) const { return platform.home + "/" + relative; }
  std::string support() const { return platform.dataHome + "/Tessel"; }
  std::string settingsFile() const { return support() + "/settings.json"; }
  void writeSettings(const HostSettings& settings) {
    temp.file("data/Tessel/settings.json", encodeJson(settings));
  }
  // Waits for the model's settings writes and menu publications to finish.
  void settle() {
    if (model) {
      EXPECT_TRUE(waitUntil([this] { return model->settled(); }));
    }
  }
  HostSettings storedSettings() {
    settle();
    return decodeJson<HostSettings>(platform.readFile(settingsFile()));
  }
  std::string journal() { return platform.readFile(support() + "/undo.json"); }
  MenuSnapshot publishedMenu() {
    settle();
    return SharedContainer::snapshot(platform);
  }
  std::string status() const { return model->status().toStdString(); }

  // Runs a move or an undo to its end; its completion's answer.
  std::optional<bool> moveAndWait(const std::vector<std::string>& sources,
                                  const std::string& destination) {
    return finished([&](auto done) { model->move(sources, destination, false, done); });
  }
  std::optional<bool> undoAndWait() {
    return finished([&](auto done) { model->undoLastMove(done); });
  }
  // Starts a move of `file` into the first favourite that stays busy until finishHeldMove().
  void startHeldMove(const std::string& file) {
    platform.moves.hold();
    model->move({file}, model->settings().favorites.at(0).path, false);
    ASSERT_TRUE(model->busy());
  }
  void finishHeldMove() {
    platform.moves.release();
    ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  }

  TempFolder temp;
  HostTestPlatform platform{temp};
  FakeDesktop desktop;
  std::unique_ptr<AppModel> model;

 private:
  static std::optional<bool> finished(const std::function<void(AppModel::Completion)>& run) {
    std::optional<bool> answer;
    run([&answer](bool ok) { answer = ok; });
    waitUntil([&] { return answer.has_value(); });
    return answer;
  }
};

}  // namespace tessel::testing
