// The workspace of a Linux desktop: the host is a program, started detached with its arguments
// followed by the URLs. A host already running hands the URLs to itself and the new process
// ends, so starting it is the whole of "open these URLs with the host".
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "Workspace.h"

namespace tessel {

class LinuxWorkspace final : public Workspace {
 public:
  LinuxWorkspace() = default;
  // Waits for starts still in progress, so that a short-lived front end reports their outcome
  // before it exits.
  ~LinuxWorkspace() override;
  LinuxWorkspace(const LinuxWorkspace&) = delete;
  LinuxWorkspace& operator=(const LinuxWorkspace&) = delete;

  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  void openApplication(const std::string& application) override;

 private:
  struct Starts {
    std::mutex mutex;
    std::condition_variable finished;
    int running = 0;
  };

  void start(std::string executable, std::vector<std::string> arguments, Completion completion);

  // Shared with the threads doing the starts, which may finish after this object has begun to
  // go away.
  std::shared_ptr<Starts> starts_ = std::make_shared<Starts>();
};

}  // namespace tessel
