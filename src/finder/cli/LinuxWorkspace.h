// The workspace of a Linux desktop without a session bus to reach the host on: the host is a
// program, started detached with its arguments followed by the URLs. A host already running
// hands the URLs to itself and the new process ends, so starting it is the whole of "open
// these URLs with the host".
#pragma once

#include "BackgroundTasks.h"
#include "Workspace.h"

namespace tessel {

class LinuxWorkspace final : public Workspace {
 public:
  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  void openApplication(const std::string& application) override;

 private:
  void start(std::string executable, std::vector<std::string> arguments, Completion completion);

  BackgroundTasks starts_;
};

}  // namespace tessel
