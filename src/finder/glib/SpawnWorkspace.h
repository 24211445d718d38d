// The workspace inside GNOME Files: the host is started with GLib's spawning, which closes
// every descriptor Files holds, reparents the host away from Files and reports a failed exec.
// Starting happens on a GLib worker thread: forking a process as large as Files must not hold
// up its main thread.
#pragma once

#include "Workspace.h"

namespace tessel {

class SpawnWorkspace final : public Workspace {
 public:
  // Starts `application` with `arguments` followed by `urls`; `completion` runs on the worker
  // thread once the host runs or could not be started.
  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  void openApplication(const std::string& application) override;
};

}  // namespace tessel
