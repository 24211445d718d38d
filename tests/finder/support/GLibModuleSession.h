// The session of a test that loads a GLib-based file manager's module in-process: the desktop
// session of FinderSession, GIO kept to local files, the module's log lines of this test only,
// and the file manager's main context run whenever the test waits.
#pragma once

#include <gio/gio.h>
#include <stdlib.h>

#include "FinderSession.h"
#include "ModuleJournal.h"

namespace tessel::testing {

class GLibModuleSession : public FinderSession {
 protected:
  GLibModuleSession() {
    // A desktop's GVfs, where installed, is never started on the test's bus. Read once, before
    // the first file is made.
    ::setenv("GIO_USE_VFS", "local", 1);
    clearLoggedLines();
  }
  // Lets GLib finish what the test started (host starts, released subscriptions); a derived
  // session drops its provider first.
  ~GLibModuleSession() override {
    waitUntil([] { return false; }, std::chrono::milliseconds(50));
  }

  void pause() override {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
    FinderSession::pause();
  }
};

}  // namespace tessel::testing
