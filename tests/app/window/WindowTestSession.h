// A host model on a temporary home and data folder, with a stand-in desktop, for the window's
// and the application's tests. Moves can be held on the worker thread to keep the model busy.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HostHarness.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"
#include "platform/Platform.h"
#include "window/ContentView.h"

namespace tessel::testing {

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
  HostTestPlatform platform;
  FakeDesktop desktop;
  std::unique_ptr<AppModel> model;
};

// Deletes the widgets whose deletion is queued, as the event loop would.
void flushDeletions();

}  // namespace tessel::testing
