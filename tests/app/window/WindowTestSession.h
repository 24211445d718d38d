// The host model's harness with what a window on it needs, for the window's and the
// application's tests.
#pragma once

#include <QCoreApplication>

#include "HostHarness.h"
#include "window/ContentView.h"

namespace tessel::testing {

class WindowTestSession : public HostHarness {
 protected:
  // Where the window says Files loads modules from, and where this installation's module is
  // (inside the home folder, where Files does not look).
  static constexpr const char* kFilesFolder = "/usr/lib/x86_64-linux-gnu/nautilus/extensions-4";
  static constexpr const char* kUserModule = ".local/lib/nautilus/extensions-4/tessel-nautilus.so";
  // What a window on this session sees: its desktop, home, the Files module and the check
  // whether Files has it.
  ContentEnvironment windowEnvironment(std::function<bool()> extensionInstalled) {
    return ContentEnvironment{desktop,
                              QString::fromStdString(platform.home),
                              {QString::fromStdString(homePath(kUserModule)), kFilesFolder},
                              std::move(extensionInstalled)};
  }
};

// Deletes the widgets whose deletion is queued, as the event loop would.
inline void flushDeletions() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tessel::testing
